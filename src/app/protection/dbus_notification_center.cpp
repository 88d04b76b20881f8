#include "app/protection/dbus_notification_center.h"

#include "app/kit/log_categories.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

#include <algorithm>
#include <limits>

namespace velmora {

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString servicePath = QStringLiteral("/org/freedesktop/Notifications");
const QString serviceInterface = QStringLiteral("org.freedesktop.Notifications");
constexpr uchar normalUrgency = 1;
constexpr int serverDefaultTimeout = -1;

/// The expiry the service is sent, in ms: -1 leaves it to the service, and 0 would mean never.
int expireTimeout(const std::optional<std::chrono::milliseconds> &expiresIn)
{
    if (!expiresIn)
        return serverDefaultTimeout;
    return int(std::clamp<std::chrono::milliseconds::rep>(expiresIn->count(), 1, std::numeric_limits<int>::max()));
}

/// Runs `handler` with the reply once it arrives; the watcher goes with the center.
template <typename Reply, typename Handler>
void whenAnswered(QObject *owner, const QDBusPendingCall &call, Handler handler)
{
    auto *watcher = new QDBusPendingCallWatcher(call, owner);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, owner,
                     [watcher, handler = std::move(handler)] {
                         watcher->deleteLater();
                         handler(Reply(*watcher));
                     });
}

} // namespace

DBusNotificationCenter::DBusNotificationCenter(const QDBusConnection &connection, QObject *parent)
    : QObject(parent), m_connection(connection)
{
    // D-Bus signals connect by signature only. Any sender is heard, so that finding the
    // service's owner never needs a blocking call; the ids tell our notifications apart.
    m_connection.connect(QString(), servicePath, serviceInterface, QStringLiteral("ActionInvoked"), this,
                         SLOT(handleActionInvoked(uint, QString)));
    m_connection.connect(QString(), servicePath, serviceInterface, QStringLiteral("NotificationClosed"), this,
                         SLOT(handleNotificationClosed(uint, uint)));
}

DBusNotificationCenter::~DBusNotificationCenter() = default;

DBusNotificationCenter &DBusNotificationCenter::shared()
{
    static DBusNotificationCenter *center = new DBusNotificationCenter(QDBusConnection::sessionBus());
    return *center;
}

void DBusNotificationCenter::setCategories(const QList<NotificationCategory> &categories)
{
    m_categories = categories;
}

void DBusNotificationCenter::setResponseHandler(ResponseHandler handler)
{
    m_responseHandler = std::move(handler);
}

void DBusNotificationCenter::fetchPermission(std::function<void(NotificationPermission)> completion)
{
    askCapabilities([completion = std::move(completion)](bool answered) {
        completion(answered ? NotificationPermission::authorized : NotificationPermission::denied);
    });
}

void DBusNotificationCenter::requestAuthorization(std::function<void(bool granted)> completion)
{
    // The service asks the user nothing: a service that answers shows what it is sent.
    askCapabilities(std::move(completion));
}

void DBusNotificationCenter::askCapabilities(std::function<void(bool answered)> completion)
{
    const QDBusPendingCall call = callService(QStringLiteral("GetCapabilities"));
    whenAnswered<QDBusPendingReply<QStringList>>(this, call, [this, completion = std::move(completion)](
                                                                 const QDBusPendingReply<QStringList> &reply) {
        if (reply.isError())
            qCInfo(lcNotifications) << "No notification service:" << reply.error().message();
        else
            m_serverTakesMarkup = reply.value().contains(QStringLiteral("body-markup"));
        completion(!reply.isError());
    });
}

void DBusNotificationCenter::add(const NotificationRequest &request)
{
    QStringList actions;
    const auto category = std::find_if(m_categories.cbegin(), m_categories.cend(), [&](const NotificationCategory &c) {
        return !request.categoryIdentifier.isEmpty() && c.identifier == request.categoryIdentifier;
    });
    if (category != m_categories.cend() && !category->actions.isEmpty()) {
        // A click on the notification itself does what its first button does.
        actions << defaultActionIdentifier << category->actions.first().title;
        for (const NotificationAction &action : category->actions)
            actions << action.identifier << action.title;
    }
    const QVariantMap hints{{QStringLiteral("desktop-entry"), desktopEntry},
                            {QStringLiteral("urgency"), QVariant::fromValue(normalUrgency)}};
    // A file name is text, not markup, on a service that reads markup.
    const QString body = m_serverTakesMarkup ? request.body.toHtmlEscaped() : request.body;
    const QDBusPendingCall call = callService(
        QStringLiteral("Notify"), {applicationName, 0u, desktopEntry, request.title, body, actions, hints,
                                   expireTimeout(request.expiresIn)});
    whenAnswered<QDBusPendingReply<uint>>(this, call, [this, request](const QDBusPendingReply<uint> &reply) {
        const bool removed = m_removedBeforeShown.remove(request.identifier);
        if (reply.isError()) {
            qCInfo(lcNotifications) << "Notification not shown:" << reply.error().message();
            return;
        }
        if (removed) {
            callService(QStringLiteral("CloseNotification"), {reply.value()});
            return;
        }
        m_categoryByID.insert(reply.value(), request.categoryIdentifier);
        m_idByIdentifier.insert(request.identifier, reply.value());
    });
}

void DBusNotificationCenter::remove(const QString &identifier)
{
    const auto shown = m_idByIdentifier.constFind(identifier);
    if (shown == m_idByIdentifier.cend()) {
        m_removedBeforeShown.insert(identifier);
        return;
    }
    // Forgotten once the service reports it closed.
    callService(QStringLiteral("CloseNotification"), {*shown});
}

QDBusPendingCall DBusNotificationCenter::callService(const QString &method, const QVariantList &arguments) const
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, servicePath, serviceInterface, method);
    call.setArguments(arguments);
    return m_connection.asyncCall(call);
}

void DBusNotificationCenter::handleNotificationClosed(uint id, uint)
{
    if (m_categoryByID.remove(id) > 0)
        m_idByIdentifier.removeIf([id](const auto &shown) { return shown.value() == id; });
}

void DBusNotificationCenter::handleActionInvoked(uint id, const QString &actionKey)
{
    // Every client on the bus hears every answer: only ours count.
    const auto category = m_categoryByID.constFind(id);
    if (category == m_categoryByID.cend() || !m_responseHandler)
        return;
    m_responseHandler(*category, actionKey);
}

} // namespace velmora
