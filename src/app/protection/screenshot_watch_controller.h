#pragma once

#include "app/protection/screenshot_folder_watcher.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace velmora {

class Clock;
class StoredSettings;

// The screenshot-folder watch of the main window: it reads the stored switch and
// folder, runs the folder watcher on it, hands settled new files to whoever started
// it, and says in one sentence whether and what it watches. Created once by the main
// window, started when the window is shown and whenever the watch settings change,
// stopped when the window goes away. Main thread only.
class ScreenshotWatchController : public QObject
{
    Q_OBJECT
public:
    using CandidateHandler = std::function<void(const QList<QUrl> &urls)>;

    ScreenshotWatchController(StoredSettings &settings, Clock &clock, QObject *parent = nullptr);
    ~ScreenshotWatchController() override;

    /// (Re)starts from the stored settings; the outcome is `isRunning` and `runtimeStatus`.
    /// The handler is kept even when the watch then stays off.
    void start(CandidateHandler candidateHandler);
    /// Stops watching; the status sentence and the handler stay.
    void stop();

    bool isRunning() const { return m_isRunning; }
    QString runtimeStatus() const { return m_runtimeStatus; }

    /// The folder the settings window proposes: Pictures/Screenshots when something
    /// exists there, else the Desktop, else nothing.
    static std::optional<QString> defaultFolder();
    /// The user's Desktop folder, or nothing.
    static std::optional<QString> desktopFolder();

signals:
    void isRunningChanged(bool isRunning);
    void runtimeStatusChanged(const QString &runtimeStatus);
    /// The running watch stopped by itself (its folder moved or went away); the sentence says so.
    void interrupted(const QString &runtimeStatus);

private:
    void failToStart();
    void setRunning(bool running);
    void setRuntimeStatus(const QString &status);

    StoredSettings &m_settings;
    ScreenshotFolderWatcher m_watcher;
    bool m_isRunning = false;
    QString m_runtimeStatus;
    CandidateHandler m_candidateHandler;
};

} // namespace velmora
