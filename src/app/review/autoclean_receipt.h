#pragma once

#include "app/protection/autoclean_undo_coordinator.h"
#include "app/review/review_model_enums.h"

#include <QString>

#include <optional>

namespace velmora {

class NotificationCenter;
class ReviewIntake;

// The texts of an AutoClean receipt, shown as an in-app banner or a notification.
struct AutoCleanReceiptText
{
    QString title;
    QString message;
    std::optional<CompletionBannerAction> action;
    std::optional<CompletionBannerAction> secondaryAction;

    friend bool operator==(const AutoCleanReceiptText &, const AutoCleanReceiptText &) = default;
};

/// "1 item masked", "3 items masked".
QString maskedItemsPhrase(int count);
/// The receipt of a capture that AutoClean wrote; `headline` comes from the capture flow.
AutoCleanReceiptText autoCleanCaptureReceipt(const QString &headline, int count);
/// The receipt of a clipboard image that AutoClean replaced.
AutoCleanReceiptText autoCleanClipboardReceipt(int count);

/// The status line after an undo: what the clipboard and the saved file now are.
QString autoCleanUndoneStatus(const AutoCleanUndone &undone);

/// Shows the receipt where the user will see it: the window's banner with its actions
/// while Velmora is in front, else a desktop notification when notifications are allowed
/// and the banner once Velmora comes to the front while the AutoClean can be undone.
/// Delivered right after the AutoClean's undo was registered in `undo`: the notification
/// lasts no longer than that undo.
void deliverAutoCleanReceipt(const AutoCleanReceiptText &receipt, bool isApplicationActive, ReviewIntake &review,
                             NotificationCenter &notifications, AutoCleanUndoCoordinator &undo);

} // namespace velmora
