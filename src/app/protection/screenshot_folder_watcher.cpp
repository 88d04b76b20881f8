#include "app/protection/screenshot_folder_watcher.h"

#include "core/support/clock.h"

#include <QSocketNotifier>

#include <algorithm>
#include <chrono>

namespace velmora {

QString description(ScreenshotFolderWatcherError error)
{
    switch (error) {
    case ScreenshotFolderWatcherError::cannotOpenFolder:
        return QStringLiteral("Screenshot watch could not open the selected folder.");
    case ScreenshotFolderWatcherError::folderMovedOrDeleted:
        return QStringLiteral("Screenshot watch stopped because the selected folder moved or was deleted.");
    }
    return {};
}

ScreenshotFolderWatcher::ScreenshotFolderWatcher(Clock &clock) : m_clock(clock) {}

ScreenshotFolderWatcher::~ScreenshotFolderWatcher()
{
    stop();
}

std::optional<ScreenshotFolderWatcherError> ScreenshotFolderWatcher::start(const QString &folderPath)
{
    stop();
    // The watch comes before the baseline listing, so that no file written in between is missed.
    std::unique_ptr<InotifyFolderWatch> watch = InotifyFolderWatch::open(folderPath);
    if (!watch)
        return ScreenshotFolderWatcherError::cannotOpenFolder;
    m_watch = std::move(watch);
    m_directory = folderPath;
    m_plan = ScreenshotFolderWatchPlan(settleInterval);
    m_plan.recordBaseline(ScreenshotFolderWatchSnapshot::candidates(folderPath));

    m_notifier = std::make_unique<QSocketNotifier>(m_watch->descriptor(), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { handleEvents(m_watch->readEvents()); });
    return std::nullopt;
}

void ScreenshotFolderWatcher::stop()
{
    cancelAndForget(m_settleTask);
    if (m_notifier) {
        // The notifier may be the one whose notice stops the watch: it goes once that notice is done.
        m_notifier->setEnabled(false);
        QObject::disconnect(m_notifier.get(), nullptr, nullptr, nullptr);
        m_notifier.release()->deleteLater();
    }
    m_watch.reset();
    m_directory.reset();
    m_plan = ScreenshotFolderWatchPlan(settleInterval);
}

void ScreenshotFolderWatcher::handleEvents(const FolderEvents &events)
{
    if (!m_directory)
        return;
    if (events.deleteOrRename) {
        // The kernel follows a deleted folder's notice with the end of its watch; stopping
        // first closes the descriptor, so the user hears of it once. It also lets the
        // callback start a new watch.
        stop();
        if (m_onError)
            m_onError(ScreenshotFolderWatcherError::folderMovedOrDeleted);
        return;
    }
    m_plan.observe(ScreenshotFolderWatchSnapshot::candidates(*m_directory), m_clock.now());
    scheduleSettleCheck();
}

void ScreenshotFolderWatcher::scheduleSettleCheck()
{
    cancelAndForget(m_settleTask);
    const double seconds = std::max(m_plan.settleInterval(), 0.1);
    const auto delay = std::chrono::milliseconds(qRound64(seconds * 1000.0));
    m_settleTask = m_clock.schedule(delay, [this] {
        m_settleTask.reset();
        runSettleCheck();
    });
}

void ScreenshotFolderWatcher::runSettleCheck()
{
    if (!m_directory)
        return;
    const QList<ScreenshotWatchCandidate> ready =
        m_plan.readyCandidates(ScreenshotFolderWatchSnapshot::candidates(*m_directory), m_clock.now());
    // A file can change without a notice (a write that does not close it): while one is
    // still settling, look again later rather than leave it unscanned.
    if (m_plan.hasPendingCandidates())
        scheduleSettleCheck();
    if (ready.isEmpty() || !m_onReadyCandidates)
        return;
    QList<QUrl> urls;
    for (const ScreenshotWatchCandidate &candidate : ready)
        urls.append(candidate.url);
    m_onReadyCandidates(urls);
}

} // namespace velmora
