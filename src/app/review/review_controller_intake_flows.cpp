#include "app/review/review_controller.h"

#include "app/review/review_controller_private.h"
#include "app/review/review_queries.h"
#include "app/review/review_status_text.h"

#include <QDir>

namespace velmora {

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
    auto opened = [this, image, errorText](const ReviewImageSource &source, const QImage &bitmap) {
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
                                    const QImage &bitmap, const std::optional<QString> &errorText)
{
    ChangeScope scope(*this);
    const std::optional<QUrl> url = image.filePath ? std::optional(QUrl::fromLocalFile(*image.filePath)) : std::nullopt;
    // The boxes of a plan made for another content of the file would lie over pixels
    // nobody scanned.
    const bool keepsPlan = image.plan && (!image.scannedFile || *image.scannedFile == source);
    const QString statusSentence = image.plan && !keepsPlan ? ReviewText::imageLoaded : image.statusSentence;
    ReviewDocument item = ReviewDocument::make(url, image.displayLabel, image.sourceType, source, statusSentence);
    m_images.insert(item.id(), bitmap);
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
    if (!m_state.image().isNull())
        return;
    ChangeScope scope(*this);
    m_state.setReviewStatusNote(sentence);
}

void ReviewController::openLastAutoCleanReviewItem()
{
    if (m_state.lastAutoCleanReviewItem)
        openForReview(*m_state.lastAutoCleanReviewItem);
}

void ReviewController::openLatestWatchedScreenshot()
{
    if (m_state.watchedScreenshotQueue.items.isEmpty())
        return;
    ChangeScope scope(*this);
    openForReview(m_state.watchedScreenshotQueue.items.takeFirst());
}

void ReviewController::openWatchedScreenshot(const QString &filePath)
{
    QList<ReviewIntakeImage> &queue = m_state.watchedScreenshotQueue.items;
    const auto alert = std::find_if(queue.begin(), queue.end(),
                                    [&](const ReviewIntakeImage &queued) { return queued.filePath == filePath; });
    if (alert == queue.end())
        return;
    ChangeScope scope(*this);
    const ReviewIntakeImage chosen = *alert;
    queue.erase(alert);
    openForReview(chosen);
}

} // namespace velmora
