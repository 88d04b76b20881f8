#pragma once

#include "app/protection/notification_permission.h"

#include <QList>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

namespace velmora {

/// A button of a notification.
struct NotificationAction
{
    QString identifier;
    QString title;

    friend bool operator==(const NotificationAction &, const NotificationAction &) = default;
};

/// A kind of notification and the actions its notifications offer.
struct NotificationCategory
{
    QString identifier;
    QList<NotificationAction> actions;

    friend bool operator==(const NotificationCategory &, const NotificationCategory &) = default;
};

/// One notification to show at once.
struct NotificationRequest
{
    QString identifier;
    QString title;
    QString body;
    QString categoryIdentifier; ///< Empty: a plain notification without actions.
    /// How long it may stay on screen; none: as long as the notification service likes.
    std::optional<std::chrono::milliseconds> expiresIn;

    friend bool operator==(const NotificationRequest &, const NotificationRequest &) = default;
};

// Where Velmora's desktop notifications go. Every answer arrives later, on the main
// thread, never inside the call; nothing here blocks.
class NotificationCenter
{
public:
    /// The user answered a notification of ours: its category and the action chosen
    /// ("default" for a click on the notification itself).
    using ResponseHandler = std::function<void(const QString &categoryIdentifier, const QString &actionIdentifier)>;

    /// The action key of a click on the notification itself.
    static inline const QString defaultActionIdentifier = QStringLiteral("default");

    virtual ~NotificationCenter() = default;

    /// The center where no notification service is: permission is denied, nothing is shown.
    static NotificationCenter &none();

    /// Replaces the categories notifications can name.
    virtual void setCategories(const QList<NotificationCategory> &categories) = 0;
    virtual void setResponseHandler(ResponseHandler handler) = 0;
    /// Answers whether notifications may be shown now.
    virtual void fetchPermission(std::function<void(NotificationPermission)> completion) = 0;
    /// Asks for permission; answers whether it was granted.
    virtual void requestAuthorization(std::function<void(bool granted)> completion) = 0;
    /// Shows the notification; a failure is dropped.
    virtual void add(const NotificationRequest &request) = 0;
    /// Takes the notification with this identifier off the screen, if it is still there
    /// or on its way.
    virtual void remove(const QString &identifier) = 0;
};

} // namespace velmora
