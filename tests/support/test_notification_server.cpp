#include "support/test_notification_server.h"

#include <QDBusMessage>

namespace velmora::test {

namespace {

const QString servicePath = QStringLiteral("/org/freedesktop/Notifications");
const QString serviceInterface = QStringLiteral("org.freedesktop.Notifications");
constexpr uint closedByUser = 2;

} // namespace

TestNotificationServer::TestNotificationServer(QDBusConnection connection, QStringList capabilities)
    : m_connection(std::move(connection)), m_capabilities(std::move(capabilities))
{
    m_serving = m_connection.registerObject(servicePath, this, QDBusConnection::ExportAllSlots)
                && m_connection.registerService(serviceInterface);
}

void TestNotificationServer::invokeAction(uint id, const QString &actionKey)
{
    sendSignal(QStringLiteral("ActionInvoked"), {id, actionKey});
}

void TestNotificationServer::closeNotification(uint id)
{
    sendSignal(QStringLiteral("NotificationClosed"), {id, closedByUser});
}

QStringList TestNotificationServer::GetCapabilities()
{
    return m_capabilities;
}

uint TestNotificationServer::Notify(const QString &appName, uint, const QString &, const QString &summary,
                                    const QString &body, const QStringList &actions, const QVariantMap &hints,
                                    int expireTimeout)
{
    const uint id = m_nextID++;
    m_received.append({id, appName, summary, body, actions, hints, expireTimeout});
    if (whenNotified)
        whenNotified();
    return id;
}

void TestNotificationServer::CloseNotification(uint id)
{
    m_closeRequests.append(id);
    closeNotification(id);
}

void TestNotificationServer::sendSignal(const QString &name, const QVariantList &arguments)
{
    QDBusMessage signal = QDBusMessage::createSignal(servicePath, serviceInterface, name);
    signal.setArguments(arguments);
    m_connection.send(signal);
}

} // namespace velmora::test
