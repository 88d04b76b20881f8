#include "app/review/review_controller.h"

#include "app/protection/clipboard_access.h"
#include "app/protection/clipboard_image.h"
#include "app/review/folder_expansion.h"
#include "app/review/review_controller_private.h"
#include "core/analysis/image_importer.h"

#include <QMimeData>

#include <algorithm>

namespace velmora {

namespace {

const QString clipboardImageLoaded = QStringLiteral("Clipboard image loaded. Scanning on device...");
const QString clipboardHasNoImage = QStringLiteral("Clipboard does not contain an image Velmora can open.");
const QString copyAnImageFirst = QStringLiteral("Copy an image, then use Paste Image.");
const FolderPanelText openFolderPanel{QStringLiteral("Open Folder"), QString(), QStringLiteral("Open")};

} // namespace

bool ReviewController::handleDrop(const QMimeData &data)
{
    QList<QUrl> files;
    for (const QUrl &url : data.urls()) {
        if (url.isLocalFile())
            files.append(url);
    }
    if (!files.isEmpty()) {
        loadItemProviders(files);
        return true;
    }
    // An image dragged out of another application: its own bytes, in its first image format.
    for (const QString &format : data.formats()) {
        if (format.startsWith(QLatin1String("image/"))) {
            loadImageData(data.data(format));
            return true;
        }
    }
    return false;
}

void ReviewController::loadItemProviders(const QList<QUrl> &fileURLs)
{
    loadImageURLs(fileURLs, ReviewText::imageLoaded, true);
}

void ReviewController::openImagesFromPanel()
{
    const QList<QUrl> urls = m_environment.fileDialogs.chooseImages(panelStartFolder(m_state.sourceImageURL()));
    if (!urls.isEmpty())
        loadImageURLs(urls, ReviewText::imageLoaded, true);
}

void ReviewController::openFolderFromPanel()
{
    if (const std::optional<QUrl> folder =
            m_environment.fileDialogs.chooseFolder(openFolderPanel, panelStartFolder(m_state.sourceImageURL())))
        loadImageURLs({*folder}, ReviewText::imageLoaded, true);
}

void ReviewController::loadImageURLs(const QList<QUrl> &urls, const QString &singleImageStatus, bool scan)
{
    const QList<QUrl> expanded = expandFolders(urls);
    if (expanded.isEmpty()) {
        // A folder bearing an image's name was meant as that image, which could not be opened.
        const bool namedAsImage = std::any_of(urls.cbegin(), urls.cend(), [](const QUrl &url) {
            return ImageImporter::isSupported(url.toLocalFile());
        });
        showImportFailure(namedAsImage ? VelmoraCoreError::invalidImageData : VelmoraCoreError::unsupportedImageType);
        return;
    }
    const bool isBatch = expanded.size() > 1;
    const SafeShareSourceType sourceType = isBatch ? SafeShareSourceType::folderBatch : SafeShareSourceType::fileImport;
    const QString itemNote = isBatch ? ReviewText::queuedForScan : singleImageStatus;
    // Files are read off the main thread; each item appears as soon as it is read, the
    // first one on screen, and the scan starts once all are in.
    m_importedItemCount = 0;
    m_intakeImport.cancel();
    m_fileImport.start(
        expanded,
        [this, sourceType, itemNote, singleImageStatus](const QUrl &url, const ReviewImageSource &source,
                                                        const QImage &image) {
            ChangeScope scope(*this);
            ReviewDocument item = ReviewDocument::make(url, std::nullopt, sourceType, source, itemNote);
            if (!image.isNull())
                m_images.insert(item.id(), image);
            if (m_importedItemCount++ == 0) {
                loadBatch({std::move(item)}, singleImageStatus, 0, false);
                return;
            }
            m_state.batch.append(std::move(item));
        },
        [this, singleImageStatus, scan](int skipped) {
            ChangeScope scope(*this);
            const int imported = std::exchange(m_importedItemCount, 0);
            if (imported == 0) {
                showImportFailure(VelmoraCoreError::invalidImageData);
                return;
            }
            m_state.setReviewStatusNote(imported == 1
                                            ? singleImageStatus
                                            : QStringLiteral("%1 images loaded. Scanning batch on device...").arg(imported));
            if (skipped >= 1)
                m_state.windowErrorText = skippedFilesText(skipped);
            if (scan)
                scanWholeBatch();
        });
}

void ReviewController::loadImageData(const QByteArray &data)
{
    openForReview({data, std::nullopt, std::nullopt, SafeShareSourceType::unknown, std::nullopt, std::nullopt,
                   ReviewText::imageLoaded});
}

void ReviewController::pasteImageFromClipboard()
{
    if (m_state.isChecking())
        return;
    ChangeScope scope(*this);
    m_state.setErrorText(std::nullopt);
    const ClipboardImageOffer offer = clipboardImageOffer(m_environment.clipboard);
    if (offer.isEmpty()) {
        m_state.setErrorText(clipboardHasNoImage);
        m_state.setReviewStatusNote(copyAnImageFirst);
        return;
    }
    // The pasted image is in review now: the clipboard guard need not scan it again.
    m_environment.clipboardGuard.monitorPlan().markHandled(m_environment.clipboard.changeCount());
    startIntakeImport({QByteArray(), std::nullopt, ReviewText::clipboardImageLabel, SafeShareSourceType::clipboardImport,
                       std::nullopt, std::nullopt, clipboardImageLoaded},
                      std::nullopt, offer);
}

} // namespace velmora
