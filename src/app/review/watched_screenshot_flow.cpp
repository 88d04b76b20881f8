#include "app/review/watched_screenshot_flow.h"

#include "app/protection/protection_notifications.h"
#include "app/review/future_watch.h"
#include "core/support/log_categories.h"
#include "core/support/work_pools.h"

#include <QDir>
#include <QFileInfo>
#include <QtConcurrent>

#include <algorithm>

namespace velmora {

namespace {

namespace WatchedText {
const QString scanned =
    QStringLiteral("Watched screenshot scanned. Review findings before sharing. The source file was not changed.");
const QString queued = QStringLiteral("Watched screenshot queued");
const QString couldNotOpen =
    QStringLiteral("A watched screenshot could not be opened. Source files were not changed.");
} // namespace WatchedText

QString foundSentence(int count)
{
    return QStringLiteral("Watched screenshot found %1 possible %2. Open Watched alerts to review.")
        .arg(count)
        .arg(count == 1 ? QStringLiteral("leak") : QStringLiteral("leaks"));
}

/// The file decoded, with its fingerprint, on the thread pool; nothing when it cannot be
/// read or its scan was cancelled by then.
std::optional<WatchedScreenshot> readScreenshot(const QString &path, const TaskHandle &task)
{
    if (task.isCancelled())
        return std::nullopt;
    try {
        auto [source, imported] = ReviewImageSource::importFile(path);
        return WatchedScreenshot{std::move(source), std::move(imported.image)};
    } catch (const VelmoraCoreException &exception) {
        qCInfo(lcScan) << "Watched screenshot" << path << "could not be read:" << rawValue(exception.error());
        return std::nullopt;
    }
}

} // namespace

WatchedScreenshotFlow::WatchedScreenshotFlow(ReviewIntake &review, NotificationCenter &notifications,
                                             ApplicationActive isActive, int scansAtOnce, QObject *parent)
    : QObject(parent), m_review(review), m_notifications(notifications), m_isActive(std::move(isActive)),
      m_scansAtOnce(std::max(1, scansAtOnce))
{
}

void WatchedScreenshotFlow::scanWatchedScreenshots(const QList<QUrl> &urls)
{
    for (const QUrl &url : urls)
        scanWatchedScreenshot(url);
}

void WatchedScreenshotFlow::scanWatchedScreenshot(const QUrl &url)
{
    const QString key = QDir::cleanPath(url.toLocalFile());
    if (m_scanTasks.contains(key))
        return;
    const TaskHandle task;
    m_scanTasks.insert(key, task);
    // The detection settings are taken as the file arrives: later edits do not reach its scan.
    m_waiting.append({key, task, m_review.customDetectionConfiguration()});
    startWaitingScans();
}

void WatchedScreenshotFlow::startWaitingScans()
{
    while (m_inFlight < m_scansAtOnce && !m_waiting.isEmpty()) {
        ++m_inFlight;
        readAndScan(m_waiting.takeFirst());
    }
}

void WatchedScreenshotFlow::readAndScan(const WaitingScreenshot &waiting)
{
    whenFinished(QtConcurrent::run(&WorkPools::decoding(), readScreenshot, waiting.key, waiting.task), this,
                 [this, waiting](const QFuture<std::optional<WatchedScreenshot>> &read) {
                     const auto &[key, task, configuration] = waiting;
                     if (task.isCancelled()) {
                         endScan(key, task);
                         return;
                     }
                     if (const std::optional<WatchedScreenshot> screenshot = read.result()) {
                         scanDecoded(*screenshot, configuration, key, task);
                         return;
                     }
                     endScan(key, task);
                     handleWatchedScanFailure();
                 });
}

void WatchedScreenshotFlow::scanDecoded(const WatchedScreenshot &screenshot,
                                        const CustomDetectionConfiguration &configuration, const QString &key,
                                        const TaskHandle &task)
{
    const auto done = [this, task, key, source = screenshot.source](const ScanOutcome &outcome) {
        endScan(key, task);
        if (task.isCancelled() || std::holds_alternative<ScanCancelled>(outcome))
            return;
        if (const auto *error = std::get_if<VelmoraCoreError>(&outcome)) {
            qCInfo(lcScan) << "Watched screenshot" << key << "scan failed:" << rawValue(*error);
            handleWatchedScanFailure();
            return;
        }
        handleWatchedScanResult(std::get<ScannedPlan>(outcome).plan, key, source);
    };
    m_review.scanDetachedWith(screenshot.image, configuration, task, this, done);
}

void WatchedScreenshotFlow::endScan(const QString &key, const TaskHandle &task)
{
    // A file handed over again after its scan was cancelled has a newer task.
    if (m_scanTasks.value(key) == task)
        m_scanTasks.remove(key);
    --m_inFlight;
    startWaitingScans();
}

void WatchedScreenshotFlow::cancelScans()
{
    for (const TaskHandle &task : std::as_const(m_scanTasks))
        task.cancel();
    m_scanTasks.clear();
    // The cancelled reads and scans keep their slots until they have ended.
    m_waiting.clear();
}

void WatchedScreenshotFlow::handleWatchedScanFailure()
{
    // The review on screen is not disturbed by a file the user never opened.
    m_review.showStatusWhenIdle(WatchedText::couldNotOpen);
}

void WatchedScreenshotFlow::handleWatchedScanResult(const RedactionPlan &plan, const QString &path,
                                                    const ReviewImageSource &scannedFile)
{
    if (plan.entries().isEmpty()) {
        m_review.recordShare(SafeShareAction::scan, SafeShareSourceType::screenshotWatch, plan, std::nullopt);
        return;
    }
    const ReviewIntakeImage alert{{}, path, std::nullopt, SafeShareSourceType::screenshotWatch, plan,
                                  plan.entries().first().id(), WatchedText::scanned, scannedFile};
    const int count = int(plan.entries().size());
    m_review.queueWatchedScreenshot(alert);
    announce(count);
    m_review.recordShare(SafeShareAction::scan, SafeShareSourceType::screenshotWatch, plan, std::nullopt);
    if (!m_isActive())
        notifyScreenshotRisk(m_notifications, QFileInfo(path).fileName(), count);
}

void WatchedScreenshotFlow::announce(int findingCount)
{
    // The image under review is never replaced: the banner offers the alert instead.
    if (m_review.hasReviewInProgress())
        offerLatestAlert();
    else
        m_review.showStatus(foundSentence(findingCount));
}

void WatchedScreenshotFlow::offerLatestAlert()
{
    m_review.showCompletionBanner(WatchedText::queued, CompletionBannerAction::reviewLatestWatchedScreenshot,
                                  std::nullopt);
}

} // namespace velmora
