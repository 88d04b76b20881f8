#pragma once

#include <QDBusAbstractInterface>
#include <QDBusConnection>
#include <QString>

namespace velmora {

// The desktop's notification service (org.freedesktop.Notifications) as Qt signals,
// so that its two signals connect like any other. Calls go through
// asyncCallWithArgumentList; nothing here blocks or introspects.
class FreedesktopNotificationsProxy : public QDBusAbstractInterface
{
    Q_OBJECT
public:
    static inline const QString service = QStringLiteral("org.freedesktop.Notifications");
    static inline const QString path = QStringLiteral("/org/freedesktop/Notifications");

    explicit FreedesktopNotificationsProxy(const QDBusConnection &connection, QObject *parent = nullptr)
        : QDBusAbstractInterface(service, path, "org.freedesktop.Notifications", connection, parent)
    {
    }

signals:
    void ActionInvoked(uint id, const QString &actionKey);
    void NotificationClosed(uint id, uint reason);
};

} // namespace velmora
