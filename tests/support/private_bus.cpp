#include "support/private_bus.h"

#include <QUuid>

namespace velmora::test {

PrivateBus::PrivateBus()
{
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (!m_daemon.waitForStarted())
        return;
    // The daemon prints its address once it listens.
    while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead()) {
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    for (const QString &name : std::as_const(m_connectionNames))
        QDBusConnection::disconnectFromBus(name);
    m_daemon.terminate();
    m_daemon.waitForFinished();
}

QDBusConnection PrivateBus::connect()
{
    const QString name = QStringLiteral("velmora-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    m_connectionNames.append(name);
    return QDBusConnection::connectToBus(m_address, name);
}

} // namespace velmora::test
