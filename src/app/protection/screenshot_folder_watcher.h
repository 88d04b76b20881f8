#pragma once

#include "app/protection/inotify_folder_watch.h"
#include "core/protection/screenshot_folder_watch_plan.h"
#include "core/support/raw_enum.h"
#include "core/support/task_handle.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QSocketNotifier;

namespace velmora {

class Clock;

/// Why the folder watch could not run on.
enum class ScreenshotFolderWatcherError {
    cannotOpenFolder,     ///< The path is missing, not a folder, or not readable.
    folderMovedOrDeleted, ///< The watched folder was deleted, moved or renamed.
};

/// The sentence the user sees for the error.
QString description(ScreenshotFolderWatcherError error);

// Turns the change notices of one folder into lists of settled new image files. It
// lists the folder into the watch plan at start (files already there are never
// reported), again on every notice, and checks what settled one interval after the
// last notice. Owned by the screenshot watch controller and reused across starts;
// main thread only: the notices are read there too.
class ScreenshotFolderWatcher
{
public:
    using ReadyCandidatesCallback = std::function<void(const QList<QUrl> &urls)>;
    using ErrorCallback = std::function<void(ScreenshotFolderWatcherError error)>;

    static constexpr double settleInterval = 1.0;

    explicit ScreenshotFolderWatcher(Clock &clock);
    ~ScreenshotFolderWatcher();
    ScreenshotFolderWatcher(const ScreenshotFolderWatcher &) = delete;
    ScreenshotFolderWatcher &operator=(const ScreenshotFolderWatcher &) = delete;

    /// Settled new files, in file-name order; never called with an empty list.
    void setOnReadyCandidates(ReadyCandidatesCallback callback) { m_onReadyCandidates = std::move(callback); }
    /// The folder went away; the watcher has stopped by the time this is called.
    void setOnError(ErrorCallback callback) { m_onError = std::move(callback); }

    /// Watches the folder in place of whatever was watched before; nothing when it
    /// started, else the reason, with the watcher idle.
    std::optional<ScreenshotFolderWatcherError> start(const QString &folderPath);
    /// Ends the watch and forgets its files; calls no callback. Safe when idle.
    void stop();

    bool isWatching() const { return m_directory.has_value(); }
    /// The watched folder, while watching.
    std::optional<QString> directory() const { return m_directory; }

private:
    void handleEvents(const FolderEvents &events);
    void scheduleSettleCheck();
    void runSettleCheck();

    Clock &m_clock;
    ReadyCandidatesCallback m_onReadyCandidates;
    ErrorCallback m_onError;
    std::unique_ptr<InotifyFolderWatch> m_watch;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::optional<QString> m_directory;
    ScreenshotFolderWatchPlan m_plan{settleInterval};
    std::optional<TaskHandle> m_settleTask;
};

} // namespace velmora

VELMORA_RAW_ENUM(velmora::ScreenshotFolderWatcherError,
    {velmora::ScreenshotFolderWatcherError::cannotOpenFolder, "cannotOpenFolder"},
    {velmora::ScreenshotFolderWatcherError::folderMovedOrDeleted, "folderMovedOrDeleted"});
