// Figures of the review's work that no timed test can hold, each measured by one
// function through the same scan the window runs (runScan over the engine's
// ScanPipeline) and printed as one JSON object with its target:
//
//   velmora_review_bench [--rounds N] [--folder-images N] IMAGE...
//
// scanAfterCancel   a scan started right after a cancelled one against a scan alone
//                   (target: at most 1.10 times as long), and how long the cancelled
//                   scan took to end once cancelled.
// batchScanSpeedup  the review's batch scan (the controller the window runs, over the
//                   engine's ScanPipeline) of N copies of the images, in a child
//                   confined to one core and in one with every core (target: a speed-up
//                   of at least 0.6 times the number of cores), with the cores the
//                   all-core child kept busy (its CPU time over its wall time), which a
//                   loaded machine disturbs less, the images it kept in flight and its
//                   peak resident memory.
//
// Every image is scanned N times per figure (default 3); medians are reported for the
// scans after a cancel. The folder-open, batch-export, single copy and single export
// figures (review_open_export.h) use a folder of the images copied in turn, 300 files
// unless --folder-images says otherwise.
// The paste figure (review_paste_open.h) pastes the first image N times.

#include "confined_cores.h"
#include "review_open_export.h"
#include "review_paste_open.h"

#include "core/analysis/import/image_importer.h"
#include "core/analysis/scan/scan_pipeline.h"
#include "core/analysis/recognition/tesseract_engine_pool.h"
#include "core/detection/core_error.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace velmora;

namespace {

const QString batchChild = QStringLiteral("--batch-child");
const QString openExportChild = QStringLiteral("--open-export-child");

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

double millisecondsSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

/// The CPU time the process has used so far, in ms.
double cpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &time) { return double(time.tv_sec) * 1e3 + double(time.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

/// Wall and CPU time of one piece of work, in ms.
struct Spent
{
    double wallMs = 0;
    double cpuMs = 0;
};

/// A batch scan child's figures.
struct BatchSpent
{
    Spent spent;
    double peakResidentMB = 0;
    int scansAtOnce = 0; ///< Items the batch scan kept in flight.
};

ScanRequest requestFor(const ImportedImage &image)
{
    return {image.image, SensitiveTextDetector(CustomDetectionConfiguration::defaultConfiguration()), {}, {}};
}

QFuture<ScanReport> startScan(ScanPipeline &pipeline, const ImportedImage &image, const TaskHandle &task)
{
    return runScan(pipeline, requestFor(image), DetectorCategoryPreferences::defaultPreferences(), task);
}

double scanAloneMs(ScanPipeline &pipeline, const ImportedImage &image)
{
    QElapsedTimer wall;
    wall.start();
    startScan(pipeline, image, {}).waitForFinished();
    return millisecondsSince(wall);
}

/// The review's batch scan over `rounds` copies of the images, on the controller the
/// window runs with the engine's ScanPipeline, after one untimed batch of the images that
/// starts the engines.
Spent scanBatch(const QStringList &files, int rounds)
{
    QTemporaryDir work;
    const std::unique_ptr<StoredSettings> settings = StoredSettings::atIniFile(work.filePath(QStringLiteral("settings.ini")));
    ScanPipeline pipeline;
    bench::QuietClipboard clipboard;
    SystemClock clock;
    ClipboardProtectionController guard(clipboard, *settings, clock);
    AutoCleanUndoCoordinator autoCleanUndo(clipboard, clock);
    ReviewController review({pipeline, *settings, clipboard, clock, guard, autoCleanUndo});
    const auto scanItems = [&](int copies) {
        QList<ReviewDocument> items;
        for (int copy = 0; copy < copies; ++copy) {
            for (const QString &file : files)
                items.append(ReviewDocument::make(QUrl::fromLocalFile(file), std::nullopt, SafeShareSourceType::folderBatch,
                                                  ReviewImageSource::importFile(file).first, QString()));
        }
        const double cpu = cpuMilliseconds();
        QElapsedTimer wall;
        wall.start();
        review.loadBatch(items, QString(), 0, true);
        bench::runUntil([&] { return !isScanRunning(review.state()); });
        return Spent{millisecondsSince(wall), cpuMilliseconds() - cpu};
    };
    scanItems(1);
    return scanItems(rounds);
}

void scanAfterCancel(const QList<ImportedImage> &images, int rounds)
{
    ScanPipeline pipeline;
    const TesseractEnginePool &engines = TesseractEnginePool::shared(true);
    for (const ImportedImage &image : images)
        scanAloneMs(pipeline, image); // starts the engines
    QList<double> alone;
    QList<double> afterCancel;
    QList<double> cancelledEnd;
    int endedBeforeCancel = 0;
    for (int round = 0; round < rounds; ++round) {
        for (const ImportedImage &image : images) {
            alone.append(scanAloneMs(pipeline, image));

            // Cancelled while every engine is reading one of its regions.
            const TaskHandle cancelled;
            auto first = startScan(pipeline, image, cancelled);
            while (engines.leasedEngines() < engines.capacity() && !first.isFinished())
                QThread::yieldCurrentThread();
            if (first.isFinished())
                ++endedBeforeCancel;
            cancelled.cancel();
            QElapsedTimer wall;
            wall.start();
            auto second = startScan(pipeline, image, {});
            first.waitForFinished();
            cancelledEnd.append(millisecondsSince(wall));
            second.waitForFinished();
            afterCancel.append(millisecondsSince(wall));
        }
    }
    const double ratio = median(afterCancel) / median(alone);
    std::printf("{\"figure\":\"scanAfterCancel\",\"scans\":%lld,\"aloneMedianMs\":%.1f,\"afterCancelMedianMs\":%.1f,"
                "\"cancelledScanEndedMedianMs\":%.1f,\"endedBeforeCancel\":%d,\"ratio\":%.3f,\"target\":1.10,"
                "\"met\":%s}\n",
                qlonglong(alone.size()), median(alone), median(afterCancel), median(cancelledEnd), endedBeforeCancel,
                ratio, ratio <= 1.10 ? "true" : "false");
}

/// The batch's times in a child confined to `cores` cores.
BatchSpent childBatch(int cores, int rounds, const QStringList &files)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                QStringList{batchChild, QString::number(cores), QStringLiteral("--rounds"), QString::number(rounds)}
                    + files);
    child.waitForFinished(-1);
    const QStringList times = QString::fromLatin1(child.readAllStandardOutput()).split(QLatin1Char(' '));
    return {{times.value(0).toDouble(), times.value(1).toDouble()}, times.value(2).toDouble(), times.value(3).toInt()};
}

void batchScanSpeedup(int rounds, const QStringList &files)
{
    const int cores = QThread::idealThreadCount();
    const Spent oneCore = childBatch(1, rounds, files).spent;
    const BatchSpent all = childBatch(cores, rounds, files);
    const Spent &allCores = all.spent;
    const double speedup = allCores.wallMs > 0 ? oneCore.wallMs / allCores.wallMs : 0;
    const double busyCores = allCores.wallMs > 0 ? allCores.cpuMs / allCores.wallMs : 0;
    const double target = 0.6 * cores;
    std::printf("{\"figure\":\"batchScanSpeedup\",\"images\":%lld,\"cores\":%d,\"oneCoreMs\":%.0f,"
                "\"allCoresMs\":%.0f,\"speedup\":%.2f,\"busyCores\":%.2f,\"scansAtOnce\":%d,\"peakResidentMB\":%.0f,"
                "\"target\":%.1f,\"met\":%s}\n",
                qlonglong(files.size() * rounds), cores, oneCore.wallMs, allCores.wallMs, speedup, busyCores,
                all.scansAtOnce, all.peakResidentMB, target,
                speedup >= target ? "true" : "false");
}

int usage()
{
    std::fprintf(stderr, "usage: velmora_review_bench [--rounds N] [--folder-images N] IMAGE...\n");
    return 2;
}

/// The folder-open and batch-export figures, from a child whose memory is theirs alone.
void openAndExport(int count, const QStringList &files)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), QStringList{openExportChild, QString::number(count)} + files);
    child.waitForFinished(-1);
}

} // namespace

int main(int argc, char **argv)
{
    // A timing child runs on the first N cores only; every thread it starts inherits that.
    if (argc > 2 && std::strcmp(argv[1], "--batch-child") == 0)
        confineToCores(std::atoi(argv[2]));
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.value(0) == openExportChild)
        return bench::openAndExportFigures(arguments.mid(2), arguments.value(1).toInt());
    const bool child = arguments.value(0) == batchChild;
    if (child)
        arguments = arguments.mid(2);
    int rounds = 3;
    if (arguments.value(0) == QLatin1String("--rounds")) {
        bool ok = false;
        rounds = arguments.value(1).toInt(&ok);
        if (!ok || rounds < 1)
            return usage();
        arguments = arguments.mid(2);
    }
    int folderImages = 300;
    if (arguments.value(0) == QLatin1String("--folder-images")) {
        bool ok = false;
        folderImages = arguments.value(1).toInt(&ok);
        if (!ok || folderImages < 1)
            return usage();
        arguments = arguments.mid(2);
    }
    if (arguments.isEmpty())
        return usage();

    QList<ImportedImage> images;
    for (const QString &file : std::as_const(arguments)) {
        try {
            images.append(ImageImporter::importImage(file));
        } catch (const VelmoraCoreException &error) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(file), qPrintable(rawValue(error.error())));
            return 1;
        }
    }
    if (child) {
        const Spent spent = scanBatch(arguments, rounds);
        std::printf("%.1f %.1f %.0f %d\n", spent.wallMs, spent.cpuMs, bench::peakResidentMB(),
                    ScanPipeline().concurrentScans());
        return 0;
    }
    openAndExport(folderImages, arguments);
    std::fflush(stdout);
    bench::pasteOpenFigure(arguments.first(), rounds);
    std::fflush(stdout);
    scanAfterCancel(images, rounds);
    std::fflush(stdout);
    batchScanSpeedup(rounds, arguments);
    return 0;
}
