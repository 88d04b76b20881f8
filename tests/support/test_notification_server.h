#pragma once

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <functional>

namespace velmora::test {

// A small desktop notification service for tests: it takes the service name on the
// connection it is given, records every notification sent to it and sends the
// answers a user's clicks would.
class TestNotificationServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Received
    {
        uint id = 0;
        QString applicationName;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int expireTimeout = 0; ///< In ms; -1: the service's default.
    };

    explicit TestNotificationServer(QDBusConnection connection, QStringList capabilities = {QStringLiteral("body"),
                                                                                            QStringLiteral("actions")});
    /// Whether it holds the service name.
    bool isServing() const { return m_serving; }

    const QList<Received> &received() const { return m_received; }
    /// The ids clients asked it to close, in order.
    const QList<uint> &closeRequests() const { return m_closeRequests; }
    /// Runs as each notification arrives, before the client has its id.
    std::function<void()> whenNotified;
    /// The user clicked the notification (key "default") or one of its buttons.
    void invokeAction(uint id, const QString &actionKey);
    void closeNotification(uint id);

public slots:
    QStringList GetCapabilities();
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int expireTimeout);
    void CloseNotification(uint id);

private:
    void sendSignal(const QString &name, const QVariantList &arguments);

    QDBusConnection m_connection;
    QStringList m_capabilities;
    QList<Received> m_received;
    QList<uint> m_closeRequests;
    uint m_nextID = 1;
    bool m_serving = false;
};

} // namespace velmora::test
