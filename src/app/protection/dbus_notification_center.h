#pragma once

#include "app/protection/notification_center.h"

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QHash>
#include <QObject>
#include <QSet>

namespace velmora {

// Notifications through the desktop's notification service on a D-Bus connection,
// with asynchronous calls only. It remembers the category and the identifier of every
// notification the service accepted until the service reports it closed, so that it
// answers only for its own notifications (the service's signals reach every client on
// the bus) and can close one by its identifier.
class DBusNotificationCenter : public QObject, public NotificationCenter
{
    Q_OBJECT
public:
    /// The name Velmora's notifications are filed under, and its desktop entry.
    static inline const QString applicationName = QStringLiteral("Velmora");
    static inline const QString desktopEntry = QStringLiteral("velmora");

    explicit DBusNotificationCenter(const QDBusConnection &connection, QObject *parent = nullptr);
    ~DBusNotificationCenter() override;

    /// The center of the user's session bus, made on first use and kept for the process.
    static DBusNotificationCenter &shared();

    void setCategories(const QList<NotificationCategory> &categories) override;
    void setResponseHandler(ResponseHandler handler) override;
    void fetchPermission(std::function<void(NotificationPermission)> completion) override;
    void requestAuthorization(std::function<void(bool granted)> completion) override;
    void add(const NotificationRequest &request) override;
    void remove(const QString &identifier) override;

    /// Notifications shown and not yet closed.
    qsizetype openNotificationCount() const { return m_categoryByID.size(); }

private slots:
    void handleActionInvoked(uint id, const QString &actionKey);
    void handleNotificationClosed(uint id, uint reason);

private:
    /// Calls a method of the service without waiting for its answer.
    QDBusPendingCall callService(const QString &method, const QVariantList &arguments = {}) const;
    void askCapabilities(std::function<void(bool answered)> completion);

    QDBusConnection m_connection;
    QList<NotificationCategory> m_categories;
    ResponseHandler m_responseHandler;
    QHash<uint, QString> m_categoryByID;
    QHash<QString, uint> m_idByIdentifier;
    /// Removed while the service had not yet answered their Notify: closed once it does.
    QSet<QString> m_removedBeforeShown;
    bool m_serverTakesMarkup = false; ///< As the service said at its last answer.
};

} // namespace velmora
