#include "app/review/review_controller.h"

#include "app/protection/clipboard_access.h"
#include "app/review/autoclean_receipt.h"
#include "app/review/cleaned_output_files.h"
#include "app/review/future_watch.h"
#include "app/review/review_controller_private.h"
#include "app/review/review_status_text.h"
#include "core/analysis/image_importer.h"
#include "core/redaction/needs_review.h"

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

void ReviewController::scanClipboardImage(const ClipboardImageCandidate &candidate)
{
    // The guard hands a change over once; this keeps a second hand-over from starting
    // a second scan while the first still runs.
    if (m_state.clipboardProtectionScanTasks.contains(candidate.changeCount))
        return;
    const TaskHandle task;
    m_state.clipboardProtectionScanTasks.insert(candidate.changeCount, task);
    runClipboardScanTask(candidate, task, customDetectionConfiguration());
}

void ReviewController::cancelClipboardScanTasks()
{
    for (const TaskHandle &task : std::as_const(m_state.clipboardProtectionScanTasks))
        task.cancel();
    m_state.clipboardProtectionScanTasks.clear();
}

void ReviewController::runClipboardScanTask(const ClipboardImageCandidate &candidate, const TaskHandle &task,
                                            const CustomDetectionConfiguration &configuration)
{
    const qint64 changeCount = candidate.changeCount;
    ImportedImage image;
    try {
        image = ImageImporter::importImage(candidate.data);
    } catch (const VelmoraCoreException &exception) {
        qCInfo(lcReviewScan) << "Clipboard image" << changeCount << "could not be decoded:" << rawValue(exception.error());
        showClipboardImageFailure(changeCount);
        return;
    }
    ScanRequest request{image.image, SensitiveTextDetector(configuration), {}, {}};
    scanImage(m_environment.scanEngine, this, std::move(request), [this] { return currentCategoryPreferences(); },
              task, [this, task, image, changeCount, mode = candidate.replacementMode](const ScanOutcome &outcome) {
                  // A stopped scan reports nothing, not even its failure.
                  if (task.isCancelled() || std::holds_alternative<ScanCancelled>(outcome)) {
                      m_state.clipboardProtectionScanTasks.remove(changeCount);
                      return;
                  }
                  if (const auto *error = std::get_if<VelmoraCoreError>(&outcome)) {
                      qCInfo(lcReviewScan) << "Clipboard image" << changeCount << "scan failed:" << rawValue(*error);
                      showClipboardImageFailure(changeCount);
                      return;
                  }
                  m_state.clipboardProtectionScanTasks.remove(changeCount);
                  handleClipboardScanResult(std::get<ScannedPlan>(outcome), image, changeCount, mode);
              });
}

void ReviewController::showClipboardImageFailure(qint64 changeCount)
{
    ChangeScope scope(*this);
    m_state.clipboardProtectionScanTasks.remove(changeCount);
    // An image in review keeps its own status.
    if (m_state.image.isNull())
        m_state.reviewStatusNote = ClipboardText::couldNotOpen;
}

void ReviewController::handleClipboardScanResult(const ScannedPlan &scanned, const ImportedImage &image,
                                                 qint64 changeCount, ClipboardProtectionReplacementMode replacementMode)
{
    ChangeScope scope(*this);
    const RedactionPlan &plan = scanned.plan;
    if (plan.entries().isEmpty()) {
        recordShare(SafeShareAction::scan, SafeShareSourceType::clipboardProtection, plan, std::nullopt);
        if (m_state.image.isNull())
            m_state.reviewStatusNote =
                withSkippedPatternsNote(ClipboardText::scannedClean, scanned.customPatternsSkipped);
        return;
    }

    BatchReviewItem item = BatchReviewItem::make(std::nullopt, ReviewText::clipboardImageLabel,
                                                 SafeShareSourceType::clipboardProtection, image,
                                                 ClipboardText::scannedForReview);
    item.redactionPlan = plan;
    item.selectedDetectionID = plan.entries().first().id();
    item.didScan = true;
    recordShare(SafeShareAction::scan, SafeShareSourceType::clipboardProtection, plan, std::nullopt);

    const VelmoraCaptureOutputPolicy policy{VelmoraCaptureOutputMode::copyCleanedPNG, safetyMode(replacementMode)};
    const VelmoraCaptureOutputDecision decision = policy.decision(needsReviewEntries(plan));
    if (decision.fallbackReason)
        pauseClipboardImageForReview(std::move(item), *decision.fallbackReason);
    else
        replaceClipboardWithCleanedPNG(plan, image.image, changeCount, std::move(item));
}

void ReviewController::pauseClipboardImageForReview(BatchReviewItem item,
                                                    const VelmoraCaptureOutputFallbackReason &reason)
{
    ChangeScope scope(*this);
    const QString sentence = pausedSentence(reason);
    item.reviewStatusNote = sentence;
    loadBatch({item}, sentence, 0, false);
    m_state.selectedDetectionID = item.redactionPlan.entries().first().id();
    syncCurrentItemToBatch();
    m_state.lastAutoCleanReviewItem = std::move(item);
}

void ReviewController::replaceClipboardWithCleanedPNG(const RedactionPlan &plan, const QImage &image,
                                                      qint64 changeCount, BatchReviewItem item)
{
    ChangeScope scope(*this);
    const auto fail = [this] {
        m_state.errorText = ClipboardText::replacementFailed;
        m_state.reviewStatusNote = ClipboardText::notChanged;
    };
    QByteArray png;
    try {
        png = cleanedImageData(image, plan, CleanedImageFormat::png);
    } catch (const VelmoraCoreException &) {
        fail();
        return;
    }

    ClipboardAccess &clipboard = m_environment.clipboard;
    ClipboardProtectionMonitorPlan &monitorPlan = m_clipboardGuard.monitorPlan();
    const ClipboardUndoSnapshot snapshot = ClipboardUndoSnapshot::capture(clipboard);
    monitorPlan.markHandled(changeCount);
    if (!clipboard.write({{pngType, png}})) {
        // The clipboard may have been emptied on the way: put back what it held, so that
        // "not changed" holds, and keep the guard from taking that back for a new image.
        snapshot.restore(clipboard);
        monitorPlan.markHandled(clipboard.changeCount());
        fail();
        return;
    }
    const qint64 outputChangeCount = clipboard.changeCount();
    monitorPlan.markHandled(outputChangeCount);

    m_state.reviewStatusNote = ClipboardText::replaced;
    // Opened later from the receipt, the item must not claim the clipboard was left alone.
    item.reviewStatusNote = ClipboardText::replaced;
    m_state.lastAutoCleanReviewItem = std::move(item);
    m_autoCleanUndo.registerToken({snapshot, outputChangeCount, std::nullopt});

    // There is no desktop notification service here: the receipt is the banner whether
    // or not the window is in front, so that it is never lost.
    const AutoCleanReceiptText receipt = autoCleanClipboardReceipt(activeEntryCount(plan));
    showCompletionBanner(receipt.title, receipt.action, receipt.secondaryAction);

    recordShare(SafeShareAction::clipboardReplace, SafeShareSourceType::clipboardProtection, plan, std::nullopt);
    syncCurrentItemToBatch();
}

} // namespace velmora
