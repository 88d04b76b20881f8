#include "app/review/review_controller.h"

#include "app/protection/clipboard_access.h"
#include "app/review/cleaned_output_files.h"
#include "app/review/review_controller_private.h"
#include "app/review/review_queries.h"
#include "core/history/safe_share_history_store.h"
#include "core/support/clock.h"

#include <QDir>
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
const QString batchExportFailed = QStringLiteral("Batch export failed. Choose another folder and try again.");
const QString noBatchExport = QStringLiteral("No batch export was completed.");
const FolderPanelText batchPanel{
    QStringLiteral("Choose Batch Export Folder"),
    QStringLiteral("Velmora will create a Velmora Cleaned folder here and write flattened cleaned PNG copies."),
    QStringLiteral("Export Batch")};
} // namespace OutputText

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

} // namespace

void ReviewController::copyCleanedPNG()
{
    if (m_state.image().isNull())
        return;
    ChangeScope scope(*this);
    m_state.setErrorText(std::nullopt);
    QByteArray png;
    try {
        png = cleanedImageData(m_state.image(), m_state.redactionPlan(), CleanedImageFormat::png);
    } catch (const VelmoraCoreException &) {
        m_state.setErrorText(OutputText::copyFailed);
        m_state.setReviewStatusNote(OutputText::noImageCopied);
        return;
    }
    const bool copied = m_environment.clipboard.write({{QStringLiteral("image/png"), png}});
    // Our own output must never come back to us as a clipboard image to scan.
    m_clipboardGuard.monitorPlan().markHandled(m_environment.clipboard.changeCount());
    if (!copied) {
        m_state.setErrorText(OutputText::copyFailed);
        m_state.setReviewStatusNote(OutputText::noImageCopied);
        return;
    }
    m_state.setReviewStatusNote(OutputText::copied);
    showCompletionBanner(OutputText::copiedBanner, std::nullopt, std::nullopt);
    recordShare(SafeShareAction::copyCleanedPNG, currentSourceType(), m_state.redactionPlan(), std::nullopt);
    emitSharedCurrentItem();
}

void ReviewController::chooseExportDestination()
{
    if (m_state.image().isNull())
        return;
    const QString startFolder = panelStartFolder(m_state.sourceImageURL());
    // A name nothing has yet, so that exporting again never offers the last file.
    const std::optional<QString> path = m_environment.fileDialogs.chooseCleanedImageDestination(
        startFolder, freeFileName(startFolder, redactedFileName(m_state.sourceImageURL(), sourceTitle(m_state))));
    if (!path || m_state.image().isNull())
        return;
    ChangeScope scope(*this);
    m_state.setErrorText(std::nullopt);
    bool written = false;
    try {
        const QByteArray bytes = cleanedImageData(m_state.image(), m_state.redactionPlan(), cleanedImageFormat(*path));
        const QFileInfo target(*path);
        // The panel asked before it returned a file that exists.
        written = target.exists() || target.isSymLink()
            ? replaceFile(*path, bytes, m_state.sourceImageURL() ? m_state.sourceImageURL()->toLocalFile() : QString())
            : writeNewFile(*path, bytes);
    } catch (const VelmoraCoreException &) {
        written = false;
    }
    if (!written) {
        m_state.setErrorText(OutputText::exportFailed);
        m_state.setReviewStatusNote(OutputText::noFileWritten);
        return;
    }
    m_state.lastExportLocation = ExportLocation{QUrl::fromLocalFile(*path), false};
    m_state.setReviewStatusNote(OutputText::exported);
    showCompletionBanner(OutputText::exportedBanner, CompletionBannerAction::revealLastExport, std::nullopt);
    recordShare(SafeShareAction::exportCleanedImage, currentSourceType(), m_state.redactionPlan(), *path);
    emitSharedCurrentItem();
}

void ReviewController::emitSharedCurrentItem()
{
    if (m_state.selectedBatchItemID)
        emit cleanedOutputShared({*m_state.selectedBatchItemID});
}

void ReviewController::exportBatchAction()
{
    if (exportableBatchItems(m_state).isEmpty() || isBatchChecking(m_state))
        return;
    if (confirmShareIfReviewNeeded(ShareAction::batchExport))
        chooseBatchExportFolder();
}

void ReviewController::chooseBatchExportFolder()
{
    if (exportableBatchItems(m_state).isEmpty())
        return;
    const std::optional<QUrl> parent =
        m_environment.fileDialogs.chooseFolder(OutputText::batchPanel, panelStartFolder(m_state.sourceImageURL()));
    if (!parent)
        return;
    ChangeScope scope(*this);
    m_state.setErrorText(std::nullopt);
    const QList<BatchReviewItem> items = exportableBatchItems(m_state);
    const std::variant<QString, BatchExportFailure> outcome = items.isEmpty() || !parent->isLocalFile()
        ? BatchExportFailure::unwritable
        : writeBatchExport(items, parent->toLocalFile());
    if (const auto *failure = std::get_if<BatchExportFailure>(&outcome)) {
        if (*failure == BatchExportFailure::unreadableImage) {
            // An image whose file changed or went away since import is not exported from it.
            m_state.setErrorText(ReviewText::unreadableImage);
            m_state.setReviewStatusNote(ReviewText::tryAnotherImage);
        } else {
            m_state.setErrorText(OutputText::batchExportFailed);
            m_state.setReviewStatusNote(OutputText::noBatchExport);
        }
        return;
    }
    const QString *folder = std::get_if<QString>(&outcome);
    const int written = int(items.size());
    m_state.lastExportLocation = ExportLocation{QUrl::fromLocalFile(*folder), true};
    m_state.setReviewStatusNote(QStringLiteral("%1 %2 exported to %3.")
                                   .arg(written)
                                   .arg(cleanedImagesWord(written), QFileInfo(*folder).fileName())
        + leftOutSentence(unscannedBatchItems(m_state)));
    showCompletionBanner(QStringLiteral("Exported %1 %2").arg(written).arg(cleanedImagesWord(written)),
                         CompletionBannerAction::revealLastExport, std::nullopt);

    // One record for the whole export: the findings of every written image together.
    SafeShareHistoryRecord record = SafeShareHistoryRecord::make(
        QUuid::createUuid(), m_environment.clock.now(), items.first().sourceType, SafeShareAction::batchExport,
        RedactionPlan::empty(), policySourceLabel(), *folder, written);
    for (const BatchReviewItem &item : items) {
        const SafeShareHistoryRecord counts = SafeShareHistoryRecord::make(
            {}, {}, item.sourceType, SafeShareAction::batchExport, item.redactionPlan, {}, {}, {});
        record.totalFindings += counts.totalFindings;
        record.includedFindings += counts.includedFindings;
        record.reviewFindings += counts.reviewFindings;
        record.offFindings += counts.offFindings;
    }
    appendSafeShareHistoryRecord(m_environment.settings, record);
    QList<QUuid> exportedIDs;
    for (const BatchReviewItem &item : items)
        exportedIDs.append(item.id);
    emit cleanedOutputShared(exportedIDs);
}

std::variant<QString, ReviewController::BatchExportFailure>
ReviewController::writeBatchExport(const QList<BatchReviewItem> &items, const QString &parentPath)
{
    QStringList names;
    for (const BatchReviewItem &item : items)
        names.append(redactedFileName(item.sourceURL, item.displayName()));
    names = uniqueFileNames(names);

    const std::optional<QString> folder = createBatchExportFolder(parentPath);
    if (!folder)
        return BatchExportFailure::unwritable;
    const QDir dir(*folder);
    for (qsizetype i = 0; i < items.size(); ++i) {
        std::optional<BatchExportFailure> failure;
        try {
            const QImage image = items.at(i).source.decode().image;
            try {
                if (!writeNewFile(dir.filePath(names.at(i)),
                                  cleanedImageData(image, items.at(i).redactionPlan, CleanedImageFormat::png)))
                    failure = BatchExportFailure::unwritable;
            } catch (const VelmoraCoreException &) {
                failure = BatchExportFailure::unwritable;
            }
        } catch (const VelmoraCoreException &) {
            failure = BatchExportFailure::unreadableImage;
        }
        if (failure) {
            // A batch export is all or nothing: the folder was new, so all it holds is ours.
            for (qsizetype j = 0; j < i; ++j)
                QFile::remove(dir.filePath(names.at(j)));
            QDir(parentPath).rmdir(QFileInfo(*folder).fileName());
            return *failure;
        }
    }
    return *folder;
}

void ReviewController::setIncludesCleanBatchExports(bool includes)
{
    ChangeScope scope(*this);
    m_state.includesCleanBatchExports = includes;
}

void ReviewController::recordShare(SafeShareAction action, SafeShareSourceType sourceType, const RedactionPlan &plan,
                                   const std::optional<QString> &outputPath)
{
    appendSafeShareHistoryRecord(m_environment.settings,
                                 SafeShareHistoryRecord::make(QUuid::createUuid(), m_environment.clock.now(),
                                                              sourceType, action, plan, policySourceLabel(),
                                                              outputPath, std::nullopt));
}

SafeShareSourceType ReviewController::currentSourceType() const
{
    for (const BatchReviewItem &item : m_state.batchItems) {
        if (isCurrentItem(item.id))
            return item.sourceType;
    }
    return SafeShareSourceType::unknown;
}

} // namespace velmora
