#include "app/review/review_controller.h"

#include "app/protection/clipboard_access.h"
#include "app/review/output_naming.h"
#include "app/review/review_controller_private.h"
#include "app/review/review_queries.h"
#include "core/history/safe_share_history_store.h"
#include "core/support/clock.h"

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

void ReviewController::setIncludesCleanBatchExports(bool includes)
{
    ChangeScope scope(*this);
    m_state.batch.setIncludesCleanExports(includes);
}

void ReviewController::recordShare(SafeShareAction action, SafeShareSourceType sourceType, const RedactionPlan &plan,
                                   const std::optional<QString> &outputPath)
{
    appendSafeShareHistoryRecord(m_environment.settings,
                                 SafeShareHistoryRecord::make(QUuid::createUuid(), m_environment.clock.now(),
                                                              sourceType, action, plan, policySourceLabel(),
                                                              outputPath, std::nullopt));
}

} // namespace velmora
