#pragma once

// The folder-open and batch-export figures of velmora_review_bench, measured on the
// review controller the window runs, in a child process of its own so that its peak
// resident memory is the review's alone:
//
// folderOpen    a folder of screenshots opened: when the first image was on screen,
//               when every item was in, the longest the main thread was kept from a
//               5 ms watchdog timer, and the peak resident memory (targets: 300 ms,
//               50 ms, 700 MB).
// batchExport   the same batch, scanned by an engine that finds nothing, exported:
//               its duration and the longest block of the main thread (target 50 ms).
// singleCopy    then Copy of the image on screen (the first one): its duration and the
//               longest block of the main thread (target 50 ms). The bench's clipboard
//               takes the bytes at once: the system clipboard's own write is not in it.
// singleExport  Export of the same image to a new file: the same two figures.

#include "app/protection/clipboard_access.h"
#include "app/review/file_dialogs.h"
#include "app/review/review_controller.h"
#include "app/review/review_queries.h"
#include "core/analysis/scan/scan_engine.h"
#include "core/settings/stored_settings.h"
#include "core/support/system_clock.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

namespace velmora::bench {

/// An engine that finds nothing at once: the export figure needs scanned items, not a scan.
class EmptyScanEngine : public ScanEngine
{
public:
    QFuture<QList<TextObservation>> recognizeText(const QImage &, const TaskHandle &) override
    {
        return QtFuture::makeReadyFuture(QList<TextObservation>());
    }
    QFuture<QList<Detection>> detectVisualContent(const QImage &, const DetectorCategoryPreferences &,
                                                  const TaskHandle &) override
    {
        return QtFuture::makeReadyFuture(QList<Detection>());
    }
};

/// A clipboard nobody reads and panels that answer with one folder (and, for a single
/// export, the name they offer inside it).
class QuietClipboard : public ClipboardAccess
{
public:
    qint64 changeCount() const override { return 0; }
    QStringList types() const override { return {}; }
    QByteArray data(const QString &) const override { return {}; }
    bool write(const QList<ClipboardItem> &) override { return true; }
};

class FolderAnswer : public FileDialogs
{
public:
    explicit FolderAnswer(QString folder) : m_folder(std::move(folder)) {}
    QList<QUrl> chooseImages(const QString &) override { return {}; }
    std::optional<QUrl> chooseFolder(const FolderPanelText &, const QString &) override
    {
        return QUrl::fromLocalFile(m_folder);
    }
    std::optional<QString> chooseCleanedImageDestination(const QString &, const QString &defaultName) override
    {
        return QDir(m_folder).filePath(defaultName);
    }

private:
    QString m_folder;
};

/// The longest gap between two ticks of a 5 ms timer on the main thread, beyond the 5 ms.
class MainThreadWatchdog
{
public:
    MainThreadWatchdog()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_longestMs = std::max(m_longestMs, double(m_sinceTick.nsecsElapsed()) / 1e6 - 5);
            m_sinceTick.restart();
        });
        m_sinceTick.start();
        m_timer.start();
    }
    double longestBlockMs() const { return m_longestMs; }

private:
    QTimer m_timer;
    QElapsedTimer m_sinceTick;
    double m_longestMs = 0;
};

inline double peakResidentMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024;
}

/// Runs the event loop until `done` holds.
template <typename Condition>
void runUntil(Condition done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
}

/// Fills `folder` with `count` copies of the images, in turn.
inline void fillFolder(const QString &folder, const QStringList &images, int count)
{
    for (int i = 0; i < count; ++i)
        QFile::copy(images.at(i % images.size()), QDir(folder).filePath(QStringLiteral("shot %1.png").arg(i, 3, 10, QLatin1Char('0'))));
}

/// Copy, then Export, of the image on screen.
inline void singleOutputFigures(ReviewController &review)
{
    const QImage image = review.state().image();
    for (const bool isCopy : {true, false}) {
        MainThreadWatchdog watchdog;
        QElapsedTimer wall;
        bool started = false;
        // The watchdog's first tick must come from the loop before the output starts.
        QTimer::singleShot(10, [&] {
            wall.start();
            if (isCopy)
                review.runShareCommand(ShareAction::copy);
            else
                review.runShareCommand(ShareAction::export_);
            started = true;
        });
        runUntil([&] { return started && !review.state().isWritingCleanedImage; });
        const double durationMs = double(wall.nsecsElapsed()) / 1e6;
        QCoreApplication::processEvents();
        const bool done = !review.state().errorText().has_value();
        std::printf("{\"figure\":\"%s\",\"width\":%d,\"height\":%d,\"durationMs\":%.1f,"
                    "\"longestMainThreadBlockMs\":%.1f,\"done\":%s,\"target\":50,\"met\":%s}\n",
                    isCopy ? "singleCopy" : "singleExport", image.width(), image.height(), durationMs,
                    watchdog.longestBlockMs(), done ? "true" : "false",
                    done && watchdog.longestBlockMs() <= 50 ? "true" : "false");
        std::fflush(stdout);
    }
}

inline int openAndExportFigures(const QStringList &images, int count)
{
    QTemporaryDir work;
    const QString shots = work.filePath(QStringLiteral("shots"));
    const QString out = work.filePath(QStringLiteral("out"));
    QDir().mkpath(shots);
    QDir().mkpath(out);
    fillFolder(shots, images, count);

    const std::unique_ptr<StoredSettings> stored =
        StoredSettings::atIniFile(work.filePath(QStringLiteral("settings.ini")));
    StoredSettings &settings = *stored;
    EmptyScanEngine engine;
    QuietClipboard clipboard;
    SystemClock clock;
    FolderAnswer dialogs(out);
    ClipboardProtectionController guard(clipboard, settings, clock);
    AutoCleanUndoCoordinator autoCleanUndo(clipboard, clock);
    ReviewController review({engine, settings, clipboard, clock, guard, autoCleanUndo, dialogs});

    {
        MainThreadWatchdog watchdog;
        QElapsedTimer wall;
        wall.start();
        double firstOnScreenMs = -1;
        QObject::connect(&review, &ReviewController::changed, [&] {
            if (firstOnScreenMs < 0 && !review.state().image().isNull())
                firstOnScreenMs = double(wall.nsecsElapsed()) / 1e6;
        });
        review.loadImageURLs({QUrl::fromLocalFile(shots)}, QStringLiteral("Image loaded."), true);
        runUntil([&] { return review.state().batch.items().size() == count; });
        const double allInMs = double(wall.nsecsElapsed()) / 1e6;
        const double block = watchdog.longestBlockMs();
        const double peak = peakResidentMB();
        std::printf("{\"figure\":\"folderOpen\",\"images\":%d,\"firstOnScreenMs\":%.0f,\"allInMs\":%.0f,"
                    "\"longestMainThreadBlockMs\":%.1f,\"peakResidentMB\":%.0f,\"targets\":{\"firstOnScreenMs\":300,"
                    "\"longestMainThreadBlockMs\":50,\"peakResidentMB\":700},\"met\":%s}\n",
                    count, firstOnScreenMs, allInMs, block, peak,
                    firstOnScreenMs <= 300 && block <= 50 && peak <= 700 ? "true" : "false");
        std::fflush(stdout);
    }

    // The batch scan starts once every image is in.
    runUntil([&] { return unscannedBatchItems(review.state()) == 0 && !isScanRunning(review.state()); });

    MainThreadWatchdog watchdog;
    QElapsedTimer wall;
    wall.start();
    // The watchdog's first tick must come from the loop before the export starts.
    QTimer::singleShot(10, [&] { review.runShareCommand(ShareAction::batchExport); });
    runUntil([&] { return review.state().lastExportLocation.has_value() || review.state().errorText().has_value(); });
    QCoreApplication::processEvents();
    std::printf("{\"figure\":\"batchExport\",\"images\":%d,\"durationMs\":%.0f,\"longestMainThreadBlockMs\":%.1f,"
                "\"written\":%s,\"target\":50,\"met\":%s}\n",
                count, double(wall.nsecsElapsed()) / 1e6, watchdog.longestBlockMs(),
                review.state().lastExportLocation ? "true" : "false", watchdog.longestBlockMs() <= 50 ? "true" : "false");
    std::fflush(stdout);
    singleOutputFigures(review);
    return 0;
}

} // namespace velmora::bench
