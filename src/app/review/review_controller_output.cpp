#include "app/review/review_controller.h"

#include "app/protection/clipboard_access.h"
#include "app/review/autoclean_receipt.h"
#include "app/review/cleaned_output_files.h"
#include "app/review/finding_queries.h"
#include "app/review/output_naming.h"
#include "app/review/review_controller_private.h"
#include "app/review/review_queries.h"
#include "core/history/safe_share_history_store.h"
#include "core/redaction/redaction_renderer.h"
#include "core/settings/stored_settings.h"
#include "core/support/clock.h"

#include <QColor>
#include <QFileInfo>

namespace velmora {
namespace {

namespace OutputText {
const QString copied = QStringLiteral("Cleaned PNG copied. Paste this shareable artifact; the source image was not changed.");
const QString copiedBanner = QStringLiteral("Copied cleaned PNG");
const QString copyFailed = QStringLiteral("Copy failed. Try exporting the redacted PNG instead.");
const QString noImageCopied = QStringLiteral("No image was copied.");
const QString exported = QStringLiteral("Cleaned copy exported. Share this file; the source image was not changed.");
const QString exportedBanner = QStringLiteral("Exported cleaned image");
const QString exportFailed = QStringLiteral("Export failed. Choose another save location.");
const QString noFileWritten = QStringLiteral("No file was written.");
} // namespace OutputText

} // namespace

namespace {

namespace BatchText {
const QString failed = QStringLiteral("Batch export failed. Choose another folder and try again.");
QString refusedName(const QString &fileName)
{
    return QStringLiteral("Batch export failed: the folder cannot hold a file named \"%1\". Rename that image's file "
                          "or choose another folder, then try again.")
        .arg(fileName);
}
const QString noBatchExport = QStringLiteral("No batch export was completed.");
const FolderPanelText panel{
    QStringLiteral("Choose Batch Export Folder"),
    QStringLiteral("Velmora will create a Velmora Cleaned folder here and write flattened cleaned PNG copies."),
    QStringLiteral("Export Batch")};
} // namespace BatchText

QString cleanedImagesWord(int count)
{
    return count == 1 ? QStringLiteral("cleaned image") : QStringLiteral("cleaned images");
}

/// Nothing, or how many images no scan had reached and the export therefore left out.
QString leftOutSentence(int count)
{
    if (count < 1)
        return QString();
    return count == 1 ? QStringLiteral(" 1 image not yet scanned was left out.")
                      : QStringLiteral(" %1 images not yet scanned were left out.").arg(count);
}

QString progressSentence(int written, int total)
{
    return QStringLiteral("Exporting cleaned images: %1 of %2 written...").arg(written).arg(total);
}

} // namespace

namespace {

const QString autoCleanUndone = QStringLiteral("AutoClean undone");

} // namespace

void ReviewController::runShareCommand(ShareAction action)
{
    // The menu keys reach here while the buttons are disabled: nothing leaves the app
    // from a scan that has not ended, whose plan may not hold its findings yet, nor from
    // an image that no scan has reached. One whose file can no longer be read says why.
    if (action != ShareAction::batchExport && m_state.screen.couldNotRead()) {
        showUnreadableBitmap();
        return;
    }
    switch (action) {
    case ShareAction::copy:
        if (canShareCurrentImage(m_state) && confirmShareIfReviewNeeded(action))
            copyCleanedPNG();
        break;
    case ShareAction::export_:
        if (canShareCurrentImage(m_state) && confirmShareIfReviewNeeded(action))
            chooseExportDestination();
        break;
    case ShareAction::batchExport:
        exportBatchAction();
        break;
    }
}

void ReviewController::continuePendingShare()
{
    std::optional<ShareAction> action;
    {
        ChangeScope scope(*this);
        action = m_shareGate.take();
    }
    if (!action)
        return;
    switch (*action) {
    case ShareAction::copy:
        copyCleanedPNG();
        break;
    case ShareAction::export_:
        chooseExportDestination();
        break;
    case ShareAction::batchExport:
        chooseBatchExportFolder();
        break;
    }
}

void ReviewController::cancelPendingShare()
{
    ChangeScope scope(*this);
    m_shareGate.take();
}

bool ReviewController::confirmShareIfReviewNeeded(ShareAction action)
{
    if (m_shareGate.admit(action, shareNeedsReviewCount(m_state, action)))
        return true;
    ChangeScope scope(*this); // announces the warning raised
    return false;
}

void ReviewController::copyCleanedPNG()
{
    const ReviewDocument *item = m_state.batch.current();
    if (m_state.image().isNull() || !item || m_state.isWritingCleanedImage)
        return;
    ChangeScope scope(*this);
    m_state.setErrorText(std::nullopt);
    m_state.isWritingCleanedImage = true;
    // The copy is of the image as it is now, whichever image is on screen when it is done.
    m_cleanedImageOutput.renderPNG(
        m_state.image(), item->redactionPlan(),
        [this, itemID = item->id(), sourceType = item->sourceType(), plan = item->redactionPlan()](
            const std::optional<QByteArray> &png) {
            ChangeScope scope(*this);
            m_state.isWritingCleanedImage = false;
            bool copied = false;
            if (png) {
                // The clipboard belongs to the main thread, so the write happens here.
                copied = m_environment.clipboard.write({{QStringLiteral("image/png"), *png}});
                // Our own output must never come back to us as a clipboard image to scan.
                m_environment.clipboardGuard.monitorPlan().markHandled(m_environment.clipboard.changeCount());
            }
            if (!copied) {
                showOutputOutcome(itemID, OutputText::copyFailed, OutputText::noImageCopied);
                return;
            }
            showOutputOutcome(itemID, std::nullopt, OutputText::copied);
            if (m_state.batch.isCurrent(itemID))
                showCompletionBanner(OutputText::copiedBanner, std::nullopt, std::nullopt);
            recordShare(SafeShareAction::copyCleanedPNG, sourceType, plan, std::nullopt);
            announceShared({{itemID, plan}});
        });
}

void ReviewController::chooseExportDestination()
{
    if (m_state.image().isNull() || m_state.isWritingCleanedImage)
        return;
    const QString startFolder = panelStartFolder(m_state.sourceImageURL());
    // A name nothing has yet, so that exporting again never offers the last file.
    const std::optional<QString> path = m_environment.fileDialogs.chooseCleanedImageDestination(
        startFolder, freeFileName(startFolder, redactedFileName(m_state.sourceImageURL(), sourceTitle(m_state))));
    const ReviewDocument *item = m_state.batch.current();
    if (!path || m_state.image().isNull() || !item || m_state.isWritingCleanedImage)
        return;
    ChangeScope scope(*this);
    m_state.setErrorText(std::nullopt);
    m_state.isWritingCleanedImage = true;
    m_cleanedImageOutput.writeFile(
        m_state.image(), item->redactionPlan(), *path, item->sourceURL() ? item->sourceURL()->toLocalFile() : QString(),
        [this, itemID = item->id(), sourceType = item->sourceType(), plan = item->redactionPlan(),
         path = *path](bool written) {
            ChangeScope scope(*this);
            m_state.isWritingCleanedImage = false;
            if (!written) {
                showOutputOutcome(itemID, OutputText::exportFailed, OutputText::noFileWritten);
                return;
            }
            m_state.lastExportLocation = ExportLocation{QUrl::fromLocalFile(path), false};
            showOutputOutcome(itemID, std::nullopt, OutputText::exported);
            if (m_state.batch.isCurrent(itemID))
                showCompletionBanner(OutputText::exportedBanner, CompletionBannerAction::revealLastExport, std::nullopt);
            recordShare(SafeShareAction::exportCleanedImage, sourceType, plan, path);
            announceShared({{itemID, plan}});
        });
}

void ReviewController::showOutputOutcome(const QUuid &itemID, const std::optional<QString> &errorText,
                                         const QString &statusNote)
{
    // The sentences belong to the image that was copied or exported, never to another.
    if (m_state.batch.isCurrent(itemID)) {
        m_state.setErrorText(errorText);
        m_state.setReviewStatusNote(statusNote);
    } else if (ReviewDocument *item = m_state.batch.document(itemID)) {
        item->setErrorText(errorText);
        item->setReviewStatusNote(statusNote);
    }
}

void ReviewController::announceShared(const QList<std::pair<QUuid, RedactionPlan>> &shared)
{
    // Boxes edited while the output was made are not in it: they stay work to lose.
    QList<QUuid> itemIDs;
    for (const auto &[itemID, plan] : shared) {
        const ReviewDocument *item = m_state.batch.document(itemID);
        if (item && item->redactionPlan() == plan)
            itemIDs.append(itemID);
    }
    if (!itemIDs.isEmpty())
        emit cleanedOutputShared(itemIDs);
}

void ReviewController::recordShare(SafeShareAction action, SafeShareSourceType sourceType, const RedactionPlan &plan,
                                   const std::optional<QString> &outputPath)
{
    appendSafeShareHistoryRecord(m_environment.settings,
                                 SafeShareHistoryRecord::make(QUuid::createUuid(), m_environment.clock.now(),
                                                              sourceType, action, plan, policySourceLabel(),
                                                              outputPath, std::nullopt));
}

void ReviewController::setIncludesCleanBatchExports(bool includes)
{
    ChangeScope scope(*this);
    m_state.batch.setIncludesCleanExports(includes);
}

void ReviewController::exportBatchAction()
{
    if (!canExportBatch(m_state))
        return;
    if (confirmShareIfReviewNeeded(ShareAction::batchExport))
        chooseBatchExportFolder();
}

void ReviewController::chooseBatchExportFolder()
{
    if (exportableBatchItems(m_state).isEmpty() || m_state.isExportingBatch)
        return;
    const std::optional<QUrl> parent =
        m_environment.fileDialogs.chooseFolder(BatchText::panel, panelStartFolder(m_state.sourceImageURL()));
    if (!parent)
        return;
    ChangeScope scope(*this);
    m_state.setErrorText(std::nullopt);
    const QList<ReviewDocument> items = exportableBatchItems(m_state);
    if (items.isEmpty() || !parent->isLocalFile()) {
        finishBatchExport(items, BatchExportFailure::unwritable);
        return;
    }
    QStringList names;
    for (const ReviewDocument &item : items)
        names.append(redactedFileName(item.sourceURL(), item.displayName()));
    names = uniqueFileNames(names);
    QList<BatchExportJob> jobs;
    for (qsizetype i = 0; i < items.size(); ++i)
        jobs.append({names.at(i), items.at(i).source(), items.at(i).redactionPlan()});

    // Rendering and writing run off the main thread; the status line counts the images.
    const int total = int(items.size());
    m_state.isExportingBatch = true;
    m_state.setReviewStatusNote(progressSentence(0, total));
    m_batchExport.start(
        jobs, parent->toLocalFile(),
        [this, total](int written) {
            ChangeScope scope(*this);
            m_state.setReviewStatusNote(progressSentence(written, total));
        },
        [this, items](const BatchExportOutcome &outcome) { finishBatchExport(items, outcome); });
}

void ReviewController::finishBatchExport(const QList<ReviewDocument> &items, const BatchExportOutcome &outcome)
{
    ChangeScope scope(*this);
    m_state.isExportingBatch = false;
    if (const auto *refused = std::get_if<RefusedBatchFileName>(&outcome)) {
        m_state.setErrorText(BatchText::refusedName(refused->fileName));
        m_state.setReviewStatusNote(BatchText::noBatchExport);
        return;
    }
    if (const auto *failure = std::get_if<BatchExportFailure>(&outcome)) {
        switch (*failure) {
        case BatchExportFailure::unreadableImage:
            // An image whose file changed or went away since import is not exported from it.
            m_state.setErrorText(ReviewText::unreadableImage);
            m_state.setReviewStatusNote(ReviewText::tryAnotherImage);
            break;
        case BatchExportFailure::unwritable:
            m_state.setErrorText(BatchText::failed);
            m_state.setReviewStatusNote(BatchText::noBatchExport);
            break;
        case BatchExportFailure::cancelled:
            m_state.setReviewStatusNote(BatchText::noBatchExport);
            break;
        }
        return;
    }
    const QString &folder = std::get<QString>(outcome);
    const int written = int(items.size());
    m_state.lastExportLocation = ExportLocation{QUrl::fromLocalFile(folder), true};
    m_state.setReviewStatusNote(QStringLiteral("%1 %2 exported to %3.")
                                    .arg(written)
                                    .arg(cleanedImagesWord(written), QFileInfo(folder).fileName())
                                + leftOutSentence(unscannedBatchItems(m_state)));
    showCompletionBanner(QStringLiteral("Exported %1 %2").arg(written).arg(cleanedImagesWord(written)),
                         CompletionBannerAction::revealLastExport, std::nullopt);

    // One record for the whole export: the findings of every written image together.
    SafeShareHistoryRecord record = SafeShareHistoryRecord::make(
        QUuid::createUuid(), m_environment.clock.now(), items.first().sourceType(), SafeShareAction::batchExport,
        RedactionPlan::empty(), policySourceLabel(), folder, written);
    for (const ReviewDocument &item : items) {
        const SafeShareHistoryRecord counts = SafeShareHistoryRecord::make(
            {}, {}, item.sourceType(), SafeShareAction::batchExport, item.redactionPlan(), {}, {}, {});
        record.totalFindings += counts.totalFindings;
        record.includedFindings += counts.includedFindings;
        record.reviewFindings += counts.reviewFindings;
        record.offFindings += counts.offFindings;
    }
    appendSafeShareHistoryRecord(m_environment.settings, record);
    QList<std::pair<QUuid, RedactionPlan>> exported;
    for (const ReviewDocument &item : items)
        exported.append({item.id(), item.redactionPlan()});
    announceShared(exported);
}

void ReviewController::showCompletionBanner(const QString &text, std::optional<CompletionBannerAction> primaryAction,
                                            std::optional<CompletionBannerAction> secondaryAction)
{
    ChangeScope scope(*this);
    m_banner.show(text, primaryAction, secondaryAction);
}

void ReviewController::showAutoCleanBannerOnReturn(const QString &text,
                                                   std::optional<CompletionBannerAction> primaryAction,
                                                   std::optional<CompletionBannerAction> secondaryAction)
{
    m_banner.hold(text, primaryAction, secondaryAction);
}

void ReviewController::applicationBecameActive()
{
    if (!m_banner.hasHeld())
        return;
    ChangeScope scope(*this);
    m_banner.showHeld();
}

void ReviewController::followAutoCleanUndo()
{
    m_banner.dropHeld();
    const auto offersUndo = [this] {
        return m_banner.primaryAction() == CompletionBannerAction::undoLastAutoClean
            || m_banner.secondaryAction() == CompletionBannerAction::undoLastAutoClean;
    };
    if (m_environment.autoCleanUndo.token() || !offersUndo())
        return;
    ChangeScope scope(*this);
    m_banner.clear();
}

void ReviewController::closeCompletionBanner()
{
    ChangeScope scope(*this);
    m_banner.clear();
}

bool ReviewController::bannerActionReplacesReview(CompletionBannerAction action) const
{
    switch (action) {
    case CompletionBannerAction::reviewLastAutoClean:
        return m_state.lastAutoCleanReviewItem.has_value();
    case CompletionBannerAction::reviewLatestWatchedScreenshot:
        return !m_state.watchedScreenshotQueue.items.isEmpty();
    case CompletionBannerAction::revealLastExport:
    case CompletionBannerAction::undoLastAutoClean:
    case CompletionBannerAction::openNotificationSettings:
        return false;
    }
    return false;
}

void ReviewController::performBannerAction(CompletionBannerAction action)
{
    switch (action) {
    case CompletionBannerAction::undoLastAutoClean:
        // The status line said what the AutoClean did; it now says what is left of it.
        if (const auto undone = m_environment.autoCleanUndo.undo(m_environment.clipboardGuard)) {
            showStatus(autoCleanUndoneStatus(*undone));
            showCompletionBanner(autoCleanUndone, std::nullopt, std::nullopt);
        }
        break;
    case CompletionBannerAction::reviewLastAutoClean:
        openLastAutoCleanReviewItem();
        break;
    case CompletionBannerAction::reviewLatestWatchedScreenshot:
        openWatchedScreenshot();
        break;
    case CompletionBannerAction::openNotificationSettings:
        m_environment.desktop.openNotificationSettings();
        break;
    case CompletionBannerAction::revealLastExport:
        if (m_state.lastExportLocation)
            m_environment.desktop.revealInFileManager(m_state.lastExportLocation->url.toLocalFile());
        break;
    }
}

} // namespace velmora
