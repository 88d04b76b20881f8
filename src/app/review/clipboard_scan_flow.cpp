#include "app/review/clipboard_scan_flow.h"

#include "app/protection/autoclean_undo_coordinator.h"
#include "app/protection/clipboard_access.h"
#include "app/protection/protection_notifications.h"
#include "app/review/autoclean_receipt.h"
#include "app/review/cleaned_output_files.h"
#include "app/review/future_watch.h"
#include "app/review/review_status_text.h"
#include "core/analysis/import/image_importer.h"
#include "core/protection/clipboard_protection_monitor_plan.h"
#include "core/redaction/needs_review.h"
#include "core/support/log_categories.h"
#include "core/support/work_pools.h"

#include <QtConcurrent>

namespace velmora {

namespace {

namespace ClipboardText {
const QString scannedForReview =
    QStringLiteral("Clipboard image scanned. Review findings before pasting; clipboard contents were not changed.");
const QString scannedClean = QStringLiteral("Clipboard image scanned. No obvious sensitive content found.");
const QString couldNotOpen = QStringLiteral("A clipboard image could not be opened. Clipboard contents were not changed.");
const QString openedBeforeChange =
    QStringLiteral("Clipboard image opened for review before Velmora changes the clipboard.");
const QString replaced = QStringLiteral(
    "Clipboard replaced with a flattened cleaned PNG. Review before pasting into sensitive destinations.");
const QString replacementFailed = QStringLiteral("Clipboard replacement failed. Review the image and try Copy instead.");
const QString notChanged = QStringLiteral("Clipboard contents were not changed.");
} // namespace ClipboardText

const QString pngType = QStringLiteral("image/png");

QString pausedSentence(const VelmoraCaptureOutputFallbackReason &reason)
{
    if (reason.kind != VelmoraCaptureOutputFallbackReason::Case::reviewFindingsPresent)
        return ClipboardText::openedBeforeChange;
    return QStringLiteral("Clipboard image has %1 %2 needing Check, so AutoClean paused for review.")
        .arg(reason.count)
        .arg(findingNoun(reason.count));
}

} // namespace

ClipboardScanFlow::ClipboardScanFlow(ReviewIntake &review, ClipboardAccess &clipboard,
                                     ClipboardProtectionMonitorPlan &monitorPlan,
                                     AutoCleanUndoCoordinator &autoCleanUndo, NotificationCenter &notifications,
                                     ApplicationActive isActive, QObject *parent)
    : QObject(parent), m_review(review), m_clipboard(clipboard), m_monitorPlan(monitorPlan),
      m_autoCleanUndo(autoCleanUndo), m_notifications(notifications), m_isActive(std::move(isActive))
{
}

void ClipboardScanFlow::scanClipboardImage(const ClipboardImageCandidate &candidate)
{
    // The guard hands a change over once; this keeps a second hand-over from starting
    // a second scan while the first is still decoded or scanned.
    const qint64 changeCount = candidate.changeCount;
    if (m_scanTasks.contains(changeCount))
        return;
    if (candidate.tooLarge) {
        qCInfo(lcScan) << "Clipboard image" << changeCount << "is past the size limit";
        showFailure(changeCount);
        return;
    }
    const TaskHandle task;
    m_scanTasks.insert(changeCount, task);
    // The guard read the clipboard on the main thread; decoding a large screenshot takes
    // long enough to belong on the thread pool.
    const QFuture<std::optional<QImage>> decoding =
        QtConcurrent::run(&WorkPools::decoding(), [data = candidate.data, changeCount]() -> std::optional<QImage> {
            try {
                return ImageImporter::importImage(data).image;
            } catch (const VelmoraCoreException &exception) {
                qCInfo(lcScan) << "Clipboard image" << changeCount
                                     << "could not be decoded:" << rawValue(exception.error());
                return std::nullopt;
            }
        });
    whenFinished(decoding, this, [this, task, candidate](const QFuture<std::optional<QImage>> &decoded) {
        // Stopped while it was decoded: nothing is scanned or reported.
        if (task.isCancelled())
            return;
        if (const std::optional<QImage> image = decoded.result())
            scanDecodedImage(*image, task, candidate);
        else
            showFailure(candidate.changeCount);
    });
}

void ClipboardScanFlow::scanDecodedImage(const QImage &image, const TaskHandle &task,
                                         const ClipboardImageCandidate &candidate)
{
    m_review.scanDetached(image, task, this,
                          [this, task, image, data = candidate.data, changeCount = candidate.changeCount,
                           mode = candidate.replacementMode](const ScanOutcome &outcome) {
                              // A stopped scan reports nothing, not even its failure.
                              if (task.isCancelled() || std::holds_alternative<ScanCancelled>(outcome)) {
                                  m_scanTasks.remove(changeCount);
                                  return;
                              }
                              if (const auto *error = std::get_if<VelmoraCoreError>(&outcome)) {
                                  qCInfo(lcScan) << "Clipboard image" << changeCount
                                                       << "scan failed:" << rawValue(*error);
                                  showFailure(changeCount);
                                  return;
                              }
                              handleScanResult(std::get<ScannedPlan>(outcome), data, image, task, changeCount, mode);
                          });
}

void ClipboardScanFlow::cancelScans()
{
    for (const TaskHandle &task : std::as_const(m_scanTasks))
        task.cancel();
    m_scanTasks.clear();
}

void ClipboardScanFlow::showFailure(qint64 changeCount)
{
    m_scanTasks.remove(changeCount);
    m_review.showStatusWhenIdle(ClipboardText::couldNotOpen);
}

void ClipboardScanFlow::handleScanResult(const ScannedPlan &scanned, const QByteArray &data, const QImage &image,
                                         const TaskHandle &task, qint64 changeCount,
                                         ClipboardProtectionReplacementMode replacementMode)
{
    const RedactionPlan &plan = scanned.plan;
    m_review.recordShare(SafeShareAction::scan, SafeShareSourceType::clipboardProtection, plan, std::nullopt);
    if (plan.entries().isEmpty()) {
        m_scanTasks.remove(changeCount);
        m_review.showStatusWhenIdle(withSkippedPatternsNote(ClipboardText::scannedClean, scanned.customPatternsSkipped));
        return;
    }

    ReviewIntakeImage item{data,
                           std::nullopt,
                           ReviewText::clipboardImageLabel,
                           SafeShareSourceType::clipboardProtection,
                           plan,
                           plan.entries().first().id(),
                           ClipboardText::scannedForReview};
    const VelmoraCaptureOutputPolicy policy{VelmoraCaptureOutputMode::copyCleanedPNG, safetyMode(replacementMode)};
    const VelmoraCaptureOutputDecision decision = policy.decision(needsReviewEntries(plan));
    if (decision.fallbackReason) {
        m_scanTasks.remove(changeCount);
        pauseForReview(item, *decision.fallbackReason);
        return;
    }
    // The change stays claimed until the clipboard is replaced; its PNG is rendered on
    // the thread pool.
    const QFuture<std::optional<QByteArray>> rendering =
        QtConcurrent::run(&WorkPools::output(), cleanedPNGIfRendered, image, plan);
    whenFinished(rendering, this,
                 [this, task, plan, changeCount, item](const QFuture<std::optional<QByteArray>> &rendered) {
                     // Stopped while it was rendered: the clipboard stays as it is.
                     if (task.isCancelled())
                         return;
                     m_scanTasks.remove(changeCount);
                     replaceWithCleanedPNG(rendered.result(), plan, changeCount, item);
                 });
}

void ClipboardScanFlow::pauseForReview(const ReviewIntakeImage &item, const VelmoraCaptureOutputFallbackReason &reason)
{
    ReviewIntakeImage paused = item;
    paused.statusSentence = pausedSentence(reason);
    m_review.openForReview(paused);
    m_review.setLastAutoCleanReviewItem(paused);
}

void ClipboardScanFlow::replaceWithCleanedPNG(const std::optional<QByteArray> &png, const RedactionPlan &plan,
                                              qint64 changeCount, ReviewIntakeImage item)
{
    if (m_clipboard.changeCount() != changeCount) {
        // The user copied something else while the image was scanned: what they copied
        // last stays on the clipboard, and the image waits for review.
        m_review.setLastAutoCleanReviewItem(item);
        m_review.showStatusWhenIdle(ClipboardText::scannedForReview);
        return;
    }
    const auto fail = [this] { m_review.showFailure(ClipboardText::replacementFailed, ClipboardText::notChanged); };
    if (!png) {
        fail();
        return;
    }

    const ClipboardUndoSnapshot snapshot = ClipboardUndoSnapshot::capture(m_clipboard);
    m_monitorPlan.markHandled(changeCount);
    if (!m_clipboard.write({{pngType, *png}})) {
        // The clipboard may have been emptied on the way: put back what it held, so that
        // "not changed" holds, and keep the guard from taking that back for a new image.
        snapshot.restore(m_clipboard);
        m_monitorPlan.markHandled(m_clipboard.changeCount());
        fail();
        return;
    }
    const qint64 outputChangeCount = m_clipboard.changeCount();
    m_monitorPlan.markHandled(outputChangeCount);

    m_review.showStatus(ClipboardText::replaced);
    // Opened later from the receipt, the item must not claim the clipboard was left alone.
    item.statusSentence = ClipboardText::replaced;
    m_review.setLastAutoCleanReviewItem(item);
    m_autoCleanUndo.registerToken({snapshot, outputChangeCount, std::nullopt});

    deliverAutoCleanReceipt(autoCleanClipboardReceipt(activeEntryCount(plan)), m_isActive(), m_review, m_notifications,
                            m_autoCleanUndo);
    m_review.recordShare(SafeShareAction::clipboardReplace, SafeShareSourceType::clipboardProtection, plan,
                         std::nullopt);
}

} // namespace velmora
