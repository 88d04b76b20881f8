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
} // namespace OutputText

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
