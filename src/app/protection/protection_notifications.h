#pragma once

#include "app/protection/notification_permission.h"

#include <QString>

#include <chrono>
#include <functional>
#include <optional>

namespace velmora {

class AutoCleanUndoCoordinator;
class CommandBus;
class NotificationCenter;

// What the background protections tell the user through desktop notifications: a
// watched screenshot that holds possible leaks, and the receipt of an AutoClean.
namespace ProtectionNotifications {
inline const QString riskCategoryIdentifier = QStringLiteral("velmora-screenshot-watch-risk");
inline const QString reviewActionIdentifier = QStringLiteral("velmora-review-watched-screenshot");
inline const QString reviewActionTitle = QStringLiteral("Review in Velmora");
inline const QString riskTitle = QStringLiteral("Sensitive data found in screenshot");
inline const QString riskIdentifierPrefix = QStringLiteral("velmora-screenshot-watch-");
inline const QString receiptIdentifierPrefix = QStringLiteral("velmora-autoclean-");
} // namespace ProtectionNotifications

/// "Screenshot 1.png has 3 possible leaks. Review in Velmora before sharing."
QString screenshotRiskNotificationBody(const QString &fileName, int count);

/// Once at start-up: the risk category with its review action, and the answer to it:
/// a risk notification clicked or reviewed posts velmoraOpenLatestWatchedScreenshot on
/// `commands`, on the main thread's next turn. Answers to receipts do nothing.
void registerNotificationCategories(NotificationCenter &center, CommandBus &commands);

/// Asks for permission only when it was never decided; answers the resulting state.
void requestNotificationAuthorizationIfNeeded(NotificationPermission current, NotificationCenter &center,
                                              std::function<void(NotificationPermission)> completion = {});
/// Posts the risk notification when the state allows it, asking first when undecided.
void postScreenshotRiskNotificationIfAllowed(NotificationPermission current, const QString &fileName, int count,
                                             NotificationCenter &center);
/// Posts the risk notification, each time a new one.
void postScreenshotRiskNotification(const QString &fileName, int count, NotificationCenter &center);
/// Posts a receipt without actions, to stay on screen for `expiresIn` at most, when the
/// state allows it; never asks. Answers its identifier when it was posted.
std::optional<QString> postAutoCleanReceiptNotification(NotificationPermission current, const QString &title,
                                                        const QString &body, NotificationCenter &center,
                                                        std::chrono::milliseconds expiresIn);

/// The risk notification for a watched screenshot, by the center's current permission.
void notifyScreenshotRisk(NotificationCenter &center, const QString &fileName, int count);
/// The AutoClean receipt as a notification, by the center's current permission. It offers
/// the undo `undo` holds now, and never outlives it: it is sent to expire when the undo
/// does, and taken off the screen once the undo ends (undone, replaced or expired), for
/// the notification services that keep it longer than asked.
void notifyAutoCleanReceipt(NotificationCenter &center, const QString &title, const QString &body,
                            AutoCleanUndoCoordinator &undo);

} // namespace velmora
