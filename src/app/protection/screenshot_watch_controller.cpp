#include "app/protection/screenshot_watch_controller.h"

#include "app/kit/log_categories.h"
#include "app/protection/screenshot_watch_folder_store.h"
#include "core/settings/stored_settings.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace velmora {

namespace {

namespace WatchStatus {
const QString off = QStringLiteral("Screenshot watch is off.");
const QString noFolder = QStringLiteral("Choose a folder to enable screenshot watch.");
const QString couldNotStart = QStringLiteral("Screenshot watch could not start. Choose the folder again.");
} // namespace WatchStatus

std::optional<QString> firstStandardLocation(QStandardPaths::StandardLocation location)
{
    const QStringList locations = QStandardPaths::standardLocations(location);
    if (locations.isEmpty() || locations.first().isEmpty())
        return std::nullopt;
    return locations.first();
}

} // namespace

ScreenshotWatchController::ScreenshotWatchController(StoredSettings &settings, Clock &clock, QObject *parent)
    : QObject(parent), m_settings(settings), m_watcher(clock), m_runtimeStatus(WatchStatus::off)
{
    m_watcher.setOnReadyCandidates([this](const QList<QUrl> &urls) {
        if (m_candidateHandler)
            m_candidateHandler(urls);
    });
    m_watcher.setOnError([this](ScreenshotFolderWatcherError error) {
        setRunning(false);
        setRuntimeStatus(description(error));
        emit interrupted(m_runtimeStatus);
    });
}

ScreenshotWatchController::~ScreenshotWatchController() = default;

void ScreenshotWatchController::start(CandidateHandler candidateHandler)
{
    m_candidateHandler = std::move(candidateHandler);
    stop();

    if (!m_settings.value(Setting::isScreenshotWatchEnabled)) {
        setRuntimeStatus(WatchStatus::off);
        return;
    }
    if (!hasScreenshotWatchFolder(m_settings)) {
        setRuntimeStatus(WatchStatus::noFolder);
        return;
    }
    const std::optional<ResolvedScreenshotWatchFolder> folder = resolveScreenshotWatchFolder(m_settings);
    if (!folder) {
        qCInfo(lcWatch) << "The stored watch folder is no longer a folder";
        failToStart();
        return;
    }
    if (folder->isStale && !saveScreenshotWatchFolder(m_settings, folder->path)) {
        failToStart();
        return;
    }
    if (const auto error = m_watcher.start(folder->path)) {
        qCInfo(lcWatch) << "Could not watch" << folder->path << rawValue(*error);
        failToStart();
        return;
    }
    setRunning(true);
    setRuntimeStatus(QStringLiteral("Watching %1 for new screenshots.").arg(QFileInfo(folder->path).fileName()));
}

void ScreenshotWatchController::stop()
{
    m_watcher.stop();
    setRunning(false);
}

std::optional<QString> ScreenshotWatchController::defaultFolder()
{
    if (const auto pictures = firstStandardLocation(QStandardPaths::PicturesLocation)) {
        const QString screenshots = *pictures + QStringLiteral("/Screenshots");
        if (QFileInfo::exists(screenshots))
            return screenshots;
    }
    return desktopFolder();
}

std::optional<QString> ScreenshotWatchController::desktopFolder()
{
    return firstStandardLocation(QStandardPaths::DesktopLocation);
}

void ScreenshotWatchController::failToStart()
{
    stop();
    setRuntimeStatus(WatchStatus::couldNotStart);
}

void ScreenshotWatchController::setRunning(bool running)
{
    if (m_isRunning == running)
        return;
    m_isRunning = running;
    emit isRunningChanged(running);
}

void ScreenshotWatchController::setRuntimeStatus(const QString &status)
{
    if (m_runtimeStatus == status)
        return;
    m_runtimeStatus = status;
    emit runtimeStatusChanged(status);
}

} // namespace velmora
