#include "app/protection/protection_notifications.h"

#include "app/commands/command_bus.h"
#include "app/protection/autoclean_undo_coordinator.h"
#include "app/protection/notification_center.h"

#include <QPointer>
#include <QUuid>

#include <memory>

namespace velmora {

namespace {

QString freshIdentifier(const QString &prefix)
{
    return prefix + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

} // namespace

QString screenshotRiskNotificationBody(const QString &fileName, int count)
{
    return QStringLiteral("%1 has %2 possible %3. Review in Velmora before sharing.")
        .arg(fileName)
        .arg(count)
        .arg(count == 1 ? QStringLiteral("leak") : QStringLiteral("leaks"));
}

void registerNotificationCategories(NotificationCenter &center, CommandBus &commands)
{
    using namespace ProtectionNotifications;
    center.setCategories({{riskCategoryIdentifier, {{reviewActionIdentifier, reviewActionTitle}}}});
    center.setResponseHandler([bus = QPointer<CommandBus>(&commands)](const QString &category, const QString &action) {
        if (!bus || category != riskCategoryIdentifier
            || (action != NotificationCenter::defaultActionIdentifier && action != reviewActionIdentifier))
            return;
        QMetaObject::invokeMethod(
            bus.data(), [bus] { bus->post(commands::velmoraOpenLatestWatchedScreenshot); }, Qt::QueuedConnection);
    });
}

void requestNotificationAuthorizationIfNeeded(NotificationPermission current, NotificationCenter &center,
                                              std::function<void(NotificationPermission)> completion)
{
    if (current != NotificationPermission::notDetermined) {
        if (completion)
            completion(current);
        return;
    }
    center.requestAuthorization([completion = std::move(completion)](bool granted) {
        if (completion)
            completion(granted ? NotificationPermission::authorized : NotificationPermission::denied);
    });
}

void postScreenshotRiskNotificationIfAllowed(NotificationPermission current, const QString &fileName, int count,
                                             NotificationCenter &center)
{
    if (allowsPosting(current)) {
        postScreenshotRiskNotification(fileName, count, center);
        return;
    }
    if (current != NotificationPermission::notDetermined)
        return;
    center.requestAuthorization([fileName, count, &center](bool granted) {
        if (granted)
            postScreenshotRiskNotification(fileName, count, center);
    });
}

void postScreenshotRiskNotification(const QString &fileName, int count, NotificationCenter &center)
{
    using namespace ProtectionNotifications;
    center.add({freshIdentifier(riskIdentifierPrefix), riskTitle, screenshotRiskNotificationBody(fileName, count),
                riskCategoryIdentifier, std::nullopt});
}

std::optional<QString> postAutoCleanReceiptNotification(NotificationPermission current, const QString &title,
                                                        const QString &body, NotificationCenter &center,
                                                        std::chrono::milliseconds expiresIn)
{
    if (!allowsPosting(current))
        return std::nullopt;
    const QString identifier = freshIdentifier(ProtectionNotifications::receiptIdentifierPrefix);
    center.add({identifier, title, body, QString(), expiresIn});
    return identifier;
}

void notifyScreenshotRisk(NotificationCenter &center, const QString &fileName, int count)
{
    center.fetchPermission([&center, fileName, count](NotificationPermission permission) {
        postScreenshotRiskNotificationIfAllowed(permission, fileName, count, center);
    });
}

void notifyAutoCleanReceipt(NotificationCenter &center, const QString &title, const QString &body,
                            AutoCleanUndoCoordinator &undo)
{
    // The receipt offers the undo registered just before it: the next change of the token
    // ends that undo, and the receipt with it.
    struct Receipt
    {
        std::optional<QString> identifier; ///< Once posted.
        bool undoEnded = false;
        QMetaObject::Connection ending;
    };
    const auto receipt = std::make_shared<Receipt>();
    receipt->ending = QObject::connect(&undo, &AutoCleanUndoCoordinator::tokenChanged, &undo, [&center, receipt] {
        QObject::disconnect(receipt->ending);
        receipt->undoEnded = true;
        if (receipt->identifier)
            center.remove(*receipt->identifier);
    });
    center.fetchPermission([&center, undo = QPointer(&undo), title, body, receipt](NotificationPermission permission) {
        if (!undo || receipt->undoEnded)
            return;
        receipt->identifier = postAutoCleanReceiptNotification(permission, title, body, center, undo->timeLeft());
    });
}

} // namespace velmora
