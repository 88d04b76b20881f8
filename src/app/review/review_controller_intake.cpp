#include "app/review/review_controller.h"

#include "app/protection/clipboard_access.h"
#include "app/protection/clipboard_image.h"
#include "app/review/finding_queries.h"
#include "app/review/review_controller_private.h"
#include "app/review/review_queries.h"
#include "app/review/review_status_text.h"
#include "core/analysis/import/image_importer.h"

#include <QDir>
#include <algorithm>

namespace velmora {
namespace {

const QString clipboardImageLoaded = QStringLiteral("Clipboard image loaded. Scanning on device...");
const QString clipboardHasNoImage = QStringLiteral("Clipboard does not contain an image Velmora can open.");
const QString copyAnImageFirst = QStringLiteral("Copy an image, then use Paste Image.");
const FolderPanelText openFolderPanel{QStringLiteral("Open Folder"), QString(), QStringLiteral("Open")};

} // namespace

void ReviewController::openDroppedImages(const DroppedImages &dropped)
{
    if (!dropped.files.isEmpty())
        loadImageURLs(dropped.files, ReviewText::imageLoaded, true);
    else
        loadImageData(dropped.imageBytes);
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

void ReviewController::pasteImageFromClipboard()
{
    if (m_state.isChecking())
        return;
    const qint64 changeCount = m_environment.clipboard.changeCount();
    m_intakeImport.readClipboard(m_environment.clipboard, [this, changeCount](const ClipboardImageOffer &offer) {
        ChangeScope scope(*this);
        m_state.setErrorText(std::nullopt);
        if (offer.tooLarge) {
            // Refused as a file of that size is.
            showImportFailure(VelmoraCoreError::invalidImageData);
            return;
        }
        if (offer.isEmpty()) {
            m_state.setErrorText(clipboardHasNoImage);
            m_state.setReviewStatusNote(copyAnImageFirst);
            return;
        }
        // The pasted image is in review now: the clipboard guard need not scan it again.
        m_environment.clipboardGuard.monitorPlan().markHandled(changeCount);
        startIntakeImport({QByteArray(), std::nullopt, ReviewText::clipboardImageLabel,
                           SafeShareSourceType::clipboardImport, std::nullopt, std::nullopt, clipboardImageLoaded},
                          std::nullopt, offer);
    });
}

void ReviewController::loadImageURLs(const QList<QUrl> &urls, const QString &singleImageStatus, bool scan)
{
    // The folders are walked and the files read off the main thread; each item appears as
    // soon as it is read, the first one on screen, and the scan starts once all are in.
    m_importedItemCount = 0;
    m_intakeImport.cancel();
    m_fileImport.start(
        urls,
        [this, singleImageStatus](const QUrl &url, const ReviewImageSource &source, const ScreenBitmap &bitmap) {
            ChangeScope scope(*this);
            const bool isBatch = m_fileImport.fileCount() > 1;
            ReviewDocument item = ReviewDocument::make(
                url, std::nullopt, isBatch ? SafeShareSourceType::folderBatch : SafeShareSourceType::fileImport, source,
                isBatch ? ReviewText::queuedForScan : singleImageStatus);
            if (!bitmap.isNull())
                m_screenImages.keep(item.id(), bitmap);
            if (m_importedItemCount++ == 0) {
                loadBatch({std::move(item)}, singleImageStatus, 0, false);
                return;
            }
            m_state.batch.append(std::move(item));
        },
        [this, urls, singleImageStatus, scan](int skipped) {
            ChangeScope scope(*this);
            const int imported = std::exchange(m_importedItemCount, 0);
            if (m_fileImport.fileCount() == 0) {
                // A folder bearing an image's name was meant as that image, which could not be opened.
                const bool namedAsImage = std::any_of(urls.cbegin(), urls.cend(), [](const QUrl &url) {
                    return ImageImporter::isSupported(url.toLocalFile());
                });
                showImportFailure(namedAsImage ? VelmoraCoreError::invalidImageData
                                               : VelmoraCoreError::unsupportedImageType);
                return;
            }
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

void ReviewController::loadBatch(QList<ReviewDocument> items, const QString &statusSentence, int skippedCount,
                                 bool scan)
{
    ChangeScope scope(*this);
    cancelCurrentDetection();
    cancelBatchScan();
    cancelAndForget(m_state.customSettingsRescanTask);
    // A re-scan that the new batch replaces is never announced.
    m_state.shouldNotifyCustomSettingsRescanCompletion = false;

    m_banner.clear();

    m_state.windowErrorText.reset();
    m_state.batch.replace(std::move(items));
    if (!m_state.batch.items().isEmpty()) {
        showBatchItem(m_state.batch.items().first());
        m_state.setReviewStatusNote(statusSentence);
        if (skippedCount >= 1)
            m_state.windowErrorText = skippedFilesText(skippedCount);
    }
    if (scan)
        scanWholeBatch();
}

void ReviewController::showImportFailure(VelmoraCoreError error)
{
    ChangeScope scope(*this);
    // The image on screen stays in review with its plan and history: only the failed
    // import is reported.
    if (!m_state.hasImageOnScreen()) {
        cancelCurrentDetection();
        cancelBatchScan();
    }
    // The failure is the window's: the image on screen did nothing wrong.
    m_state.windowErrorText =
        error == VelmoraCoreError::unsupportedImageType ? ReviewText::unsupportedImage : ReviewText::unreadableImage;
    m_state.setReviewStatusNote(ReviewText::tryAnotherImage);
}

void ReviewController::closeCurrentReview()
{
    // Images still being read are not opened after all.
    m_fileImport.cancel();
    m_intakeImport.cancel();
    if (!hasActiveReview(m_state)) {
        // A background AutoClean leaves its banner, review item and undo with nothing
        // open: they end with the close all the same.
        if (m_banner.text() || m_state.lastAutoCleanReviewItem || m_environment.autoCleanUndo.token()) {
            ChangeScope scope(*this);
            clearBannerAndAutoClean();
        }
        return;
    }
    ChangeScope scope(*this);
    cancelCurrentDetection();
    cancelBatchScan();
    for (auto *task : {&m_state.customSettingsRescanTask, &m_state.captureTask})
        cancelAndForget(*task);
    m_state.shouldNotifyCustomSettingsRescanCompletion = false;

    m_state.keepsManualEditingAfterCommit = false;
    m_state.findingFilter = FindingFilter::all;
    m_shareGate = ShareGate();

    clearBannerAndAutoClean();

    m_state.batch.replace({});
    m_state.screen.clear();
    m_screenImages.clear();
    m_state.windowErrorText.reset();

    m_state.setErrorText(std::nullopt);
    m_state.setReviewStatusNote(ReviewText::startPrompt);
}

void ReviewController::clearBannerAndAutoClean()
{
    m_banner.clear();
    m_state.lastAutoCleanReviewItem.reset();
    m_environment.autoCleanUndo.clear();
}

bool ReviewController::isCheckingImage() const
{
    return m_state.isChecking();
}

bool ReviewController::hasReviewInProgress() const
{
    return hasActiveReview(m_state);
}

void ReviewController::openForReview(const ReviewIntakeImage &image)
{
    startIntakeImport(image, std::nullopt);
}

void ReviewController::openForReviewWithFailure(const ReviewIntakeImage &image, const QString &errorText)
{
    startIntakeImport(image, errorText);
}

void ReviewController::startIntakeImport(const ReviewIntakeImage &image, const std::optional<QString> &errorText,
                                         const std::optional<ClipboardImageOffer> &clipboardOffer)
{
    m_fileImport.cancel();
    // The review in progress stays until the image is in.
    auto opened = [this, image, errorText](const ReviewImageSource &source, const ScreenBitmap &bitmap) {
        openImported(image, source, bitmap, errorText);
    };
    auto failed = [this](VelmoraCoreError error) {
        ChangeScope scope(*this);
        showImportFailure(error);
    };
    if (clipboardOffer)
        m_intakeImport.start(*clipboardOffer, std::move(opened), std::move(failed));
    else
        m_intakeImport.start(image, std::move(opened), std::move(failed));
}

void ReviewController::openImported(const ReviewIntakeImage &image, const ReviewImageSource &source,
                                    const ScreenBitmap &bitmap, const std::optional<QString> &errorText)
{
    ChangeScope scope(*this);
    const std::optional<QUrl> url = image.filePath ? std::optional(QUrl::fromLocalFile(*image.filePath)) : std::nullopt;
    // The boxes of a plan made for another content of the file would lie over pixels
    // nobody scanned.
    const bool keepsPlan = image.plan && (!image.scannedFile || *image.scannedFile == source);
    const QString statusSentence = image.plan && !keepsPlan ? ReviewText::imageLoaded : image.statusSentence;
    ReviewDocument item = ReviewDocument::make(url, image.displayLabel, image.sourceType, source, statusSentence);
    m_screenImages.keep(item.id(), bitmap);
    if (keepsPlan)
        item.adoptOwnPlan(*image.plan, image.selectedDetectionID);
    loadBatch({std::move(item)}, statusSentence, 0, !keepsPlan);
    if (errorText)
        m_state.setErrorText(errorText);
}

void ReviewController::setLastAutoCleanReviewItem(const ReviewIntakeImage &image)
{
    ChangeScope scope(*this);
    m_state.lastAutoCleanReviewItem = image;
}

void ReviewController::queueWatchedScreenshot(const ReviewIntakeImage &image)
{
    ChangeScope scope(*this);
    m_state.watchedScreenshotQueue.insertNewest(image, [](const ReviewIntakeImage &a, const ReviewIntakeImage &b) {
        const auto standardised = [](const ReviewIntakeImage &alert) {
            return alert.filePath ? std::optional(QDir::cleanPath(*alert.filePath)) : std::nullopt;
        };
        return standardised(a) == standardised(b);
    });
}

void ReviewController::openLastAutoCleanReviewItem()
{
    if (m_state.lastAutoCleanReviewItem)
        openForReview(*m_state.lastAutoCleanReviewItem);
}

void ReviewController::openWatchedScreenshot(const QString &filePath)
{
    QList<ReviewIntakeImage> &queue = m_state.watchedScreenshotQueue.items;
    const auto alert = filePath.isEmpty() ? queue.begin()
                                          : std::find_if(queue.begin(), queue.end(), [&](const ReviewIntakeImage &queued) {
                                                return queued.filePath == filePath;
                                            });
    if (alert == queue.end())
        return;
    ChangeScope scope(*this);
    const ReviewIntakeImage chosen = *alert;
    queue.erase(alert);
    openForReview(chosen);
}

void ReviewController::scanDetached(const QImage &image, const TaskHandle &task, QObject *context,
                                    std::function<void(ScanOutcome)> done)
{
    scanDetachedWith(image, customDetectionConfiguration(), task, context, std::move(done));
}

void ReviewController::scanDetachedWith(const QImage &image, const CustomDetectionConfiguration &configuration,
                                        const TaskHandle &task, QObject *context, std::function<void(ScanOutcome)> done)
{
    scanImage(m_environment.scanEngine, context, ScanRequest{image, SensitiveTextDetector(configuration), {}, {}},
              [this] { return currentCategoryPreferences(); }, task, std::move(done));
}

void ReviewController::showStatus(const QString &sentence)
{
    ChangeScope scope(*this);
    m_state.setReviewStatusNote(sentence);
}

void ReviewController::showFailure(const QString &errorText, const QString &sentence)
{
    ChangeScope scope(*this);
    m_state.setErrorText(errorText);
    m_state.setReviewStatusNote(sentence);
}

void ReviewController::showStatusWhenIdle(const QString &sentence)
{
    if (m_state.hasImageOnScreen())
        return;
    ChangeScope scope(*this);
    m_state.setReviewStatusNote(sentence);
}

bool ReviewController::startCaptureTask(const TaskHandle &task, const QString &statusHint)
{
    if (m_state.captureTask || m_state.isChecking())
        return false;
    ChangeScope scope(*this);
    m_state.setErrorText(std::nullopt);
    m_state.screen.setMode(CanvasMode::reviewing);
    m_state.captureTask = task;
    m_state.setReviewStatusNote(statusHint);
    return true;
}

bool ReviewController::finishCaptureTask(const TaskHandle &task)
{
    if (m_state.captureTask && *m_state.captureTask != task)
        return false;
    if (m_state.captureTask) {
        ChangeScope scope(*this);
        m_state.captureTask.reset();
    }
    return true;
}

void ReviewController::setLastExportLocation(const ExportLocation &location)
{
    ChangeScope scope(*this);
    m_state.lastExportLocation = location;
}

} // namespace velmora
