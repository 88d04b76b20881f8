#include "app/review/autoclean_receipt.h"

#include "app/protection/protection_notifications.h"
#include "app/review/review_intake.h"

namespace velmora {

namespace {

const QString separator = QStringLiteral(" \u00B7 ");

QString itemsWord(int count)
{
    return count == 1 ? QStringLiteral("item") : QStringLiteral("items");
}

} // namespace

QString maskedItemsPhrase(int count)
{
    return QStringLiteral("%1 %2 masked").arg(count).arg(itemsWord(count));
}

AutoCleanReceiptText autoCleanCaptureReceipt(const QString &headline, int count)
{
    return {headline + separator + maskedItemsPhrase(count),
            QStringLiteral("Velmora scanned locally and masked %1 %2 in a cleaned PNG. "
                           "Open Velmora to review or undo recent AutoClean output.")
                .arg(count)
                .arg(itemsWord(count)),
            CompletionBannerAction::reviewLastAutoClean, CompletionBannerAction::undoLastAutoClean};
}

AutoCleanReceiptText autoCleanClipboardReceipt(int count)
{
    return {QStringLiteral("Clipboard protected") + separator + maskedItemsPhrase(count),
            QStringLiteral("Velmora replaced the image clipboard with a cleaned PNG after masking %1 %2. "
                           "Open Velmora to review or undo recent AutoClean output.")
                .arg(count)
                .arg(itemsWord(count)),
            CompletionBannerAction::reviewLastAutoClean, CompletionBannerAction::undoLastAutoClean};
}

QString autoCleanUndoneStatus(const AutoCleanUndone &undone)
{
    QString sentence = QStringLiteral("AutoClean undone.");
    switch (undone.clipboard) {
    case AutoCleanUndone::Clipboard::untouched:
        break;
    case AutoCleanUndone::Clipboard::restored:
        sentence += QStringLiteral(" The clipboard holds what it held before.");
        break;
    case AutoCleanUndone::Clipboard::keptNewer:
        sentence += QStringLiteral(" The clipboard keeps what was copied since.");
        break;
    }
    switch (undone.file) {
    case AutoCleanUndone::File::none:
        break;
    case AutoCleanUndone::File::trashed:
        sentence += QStringLiteral(" The cleaned PNG was moved to the Trash.");
        break;
    case AutoCleanUndone::File::deleted:
        sentence += QStringLiteral(" The cleaned PNG was deleted.");
        break;
    case AutoCleanUndone::File::kept:
        sentence += QStringLiteral(" The cleaned PNG could not be removed.");
        break;
    }
    return sentence;
}

void deliverAutoCleanReceipt(const AutoCleanReceiptText &receipt, bool isApplicationActive, ReviewIntake &review,
                             NotificationCenter &notifications, AutoCleanUndoCoordinator &undo)
{
    if (isApplicationActive) {
        review.showCompletionBanner(receipt.title, receipt.action, receipt.secondaryAction);
        return;
    }
    notifyAutoCleanReceipt(notifications, receipt.title, receipt.message, undo);
    // The notification promises an undo in the window: the banner waits there for the user.
    review.showAutoCleanBannerOnReturn(receipt.title, receipt.action, receipt.secondaryAction);
}

} // namespace velmora
