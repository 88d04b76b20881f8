#pragma once

// What a scan costs: the engine's CPU per screen against plain Tesseract's command line
// with one thread on the same screens in the same run, and where the engine's CPU goes,
// stage by stage and region by region. CPU time, not wall time: the machine is shared,
// and CPU time is what other work on it leaves alone best.

#include "cost_screens.h"

#include "core/analysis/visual/code_reader.h"
#include "core/analysis/visual/face_finder.h"
#include "core/analysis/import/image_importer.h"
#include "core/analysis/visual/photo_regions.h"
#include "core/analysis/recognition/region_reader.h"
#include "core/analysis/scan/scan_pipeline.h"
#include "core/analysis/visual/visual_content_detector.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

#include <sys/resource.h>

#include <ctime>
#include <numeric>
#include <thread>

namespace bench {

/// CPU time of this process, every thread, in seconds.
inline double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

/// CPU time of the child processes ended and waited for so far, in seconds.
inline double childrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

inline double medianOf(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

/// One screen scanned by both: CPU seconds and wall milliseconds.
struct CostPair
{
    double engineCpu = 0, tesseractCpu = 0, engineWall = 0, tesseractWall = 0;
};

/// The engine's scan of the file as the window runs it, from opening the file to the plan.
inline CostPair engineScan(velmora::ScanPipeline &pipeline, const velmora::SensitiveTextDetector &detector, const QString &path)
{
    const auto &preferences = velmora::CustomDetectionConfiguration::defaultConfiguration().detectorCategoryPreferences;
    const double cpu = processCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    pipeline.scanFile(path, detector, preferences);
    return {processCpuSeconds() - cpu, 0, double(wall.nsecsElapsed()) / 1e6, 0};
}

/// `OMP_THREAD_LIMIT=1 tesseract FILE stdout`, as a user would run it.
inline CostPair tesseractCommand(const QString &program, const QString &path)
{
    QProcess tesseract;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
    tesseract.setProcessEnvironment(environment);
    tesseract.setStandardOutputFile(QProcess::nullDevice());
    tesseract.setStandardErrorFile(QProcess::nullDevice());
    const double cpu = childrenCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    tesseract.start(program, {path, QStringLiteral("stdout")});
    tesseract.waitForFinished(-1);
    return {0, childrenCpuSeconds() - cpu, 0, double(wall.nsecsElapsed()) / 1e6};
}

/// Both scan every screen, in turns (which goes first alternates), with warm engines.
inline void runCpuAgainstTesseract(const QList<CostScreen> &screens, bool verbose)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("tesseract"));
    std::printf("\nCPU per screen against plain Tesseract's command line with one thread (OMP_THREAD_LIMIT=1 tesseract IMAGE\n"
                "stdout), the same screens in the same run; the engine's scan from opening the file to the plan:\n");
    if (program.isEmpty() || screens.isEmpty()) {
        std::printf("  plain Tesseract's command line is not installed (scripts/install-deps bench)\n");
        return;
    }
    velmora::ScanPipeline pipeline;
    const velmora::SensitiveTextDetector detector(velmora::CustomDetectionConfiguration::defaultConfiguration());
    engineScan(pipeline, detector, screens.first().path); // starts the engines
    QMap<QString, QList<CostPair>> perSet;
    for (qsizetype s = 0; s < screens.size(); ++s) {
        CostPair pair;
        const auto engine = [&] {
            const CostPair measured = engineScan(pipeline, detector, screens[s].path);
            pair.engineCpu = measured.engineCpu;
            pair.engineWall = measured.engineWall;
        };
        const auto plain = [&] {
            const CostPair measured = tesseractCommand(program, screens[s].path);
            pair.tesseractCpu = measured.tesseractCpu;
            pair.tesseractWall = measured.tesseractWall;
        };
        if (s % 2 == 0) {
            engine();
            plain();
        } else {
            plain();
            engine();
        }
        if (verbose)
            std::printf("  %-52s engine %5.2f s  tesseract %5.2f s  ratio %.2f\n", qPrintable(screens[s].set + u' ' + screens[s].label),
                        pair.engineCpu, pair.tesseractCpu, pair.engineCpu / pair.tesseractCpu);
        perSet[screens[s].set].append(pair);
        perSet[QStringLiteral("all")].append(pair);
    }
    std::printf("  %-11s %7s %12s %15s %6s %17s %20s\n", "screens", "count", "engine CPU", "tesseract CPU", "ratio", "engine wall (med)",
                "tesseract wall (med)");
    for (const QString &set : {QStringLiteral("pages"), QStringLiteral("layouts"), QStringLiteral("screenshots"), QStringLiteral("all")}) {
        const QList<CostPair> &pairs = perSet[set];
        if (pairs.isEmpty())
            continue;
        double engine = 0, tesseract = 0;
        QList<double> engineWalls, tesseractWalls;
        for (const CostPair &pair : pairs) {
            engine += pair.engineCpu;
            tesseract += pair.tesseractCpu;
            engineWalls.append(pair.engineWall);
            tesseractWalls.append(pair.tesseractWall);
        }
        const auto count = double(pairs.size());
        std::printf("  %-11s %7lld %10.2f s %13.2f s %6.2f %14.0f ms %17.0f ms\n", qPrintable(set), qlonglong(pairs.size()),
                    engine / count, tesseract / count, engine / tesseract, medianOf(engineWalls), medianOf(tesseractWalls));
    }
    std::printf("  pages: the tuning half's page screens, layouts: its interface layouts, both drawn by Qt;\n"
                "  screenshots: bench/screenshots\n");
}

/// The CPU of each stage, in seconds, summed over what it was given.
class StageClock
{
public:
    template <typename Work>
    auto time(const char *stage, Work work)
    {
        const double start = processCpuSeconds();
        auto result = work();
        add(stage, processCpuSeconds() - start);
        return result;
    }
    void add(const char *stage, double seconds)
    {
        if (!m_seconds.contains(stage))
            m_order.append(stage);
        m_seconds[stage] += seconds;
    }
    void add(const StageClock &other)
    {
        for (const char *stage : other.m_order)
            add(stage, other[stage]);
    }
    double operator[](const char *stage) const { return m_seconds.value(stage); }
    const QList<const char *> &stages() const { return m_order; }

private:
    QList<const char *> m_order;
    QMap<QByteArray, double> m_seconds;
};

/// One region as the first read found it.
struct RegionCost
{
    QString screen;
    QRect box;
    bool singleLine = true;
    bool readAgain = false;
    QSize input;           ///< what the engine was given
    double firstRead = 0;  ///< seconds
    double secondRead = 0; ///< seconds
    double all = 0;        ///< preparing, reading and assembling, in seconds
};

/// When the last of the regions is read, in seconds, by `engines` engines that each
/// take the next region in `order` as soon as they are free.
inline double regionsRead(const QList<RegionCost> &regions, const QList<qsizetype> &order, int engines)
{
    std::vector<double> free(std::size_t(std::max(1, engines)), 0.0);
    for (const qsizetype r : order)
        *std::min_element(free.begin(), free.end()) += regions[r].all;
    return *std::max_element(free.begin(), free.end());
}

/// Each stage of the scan alone, one after the other on this thread, over every screen;
/// then the recognition and the whole scan as the engine's threads run them. From the
/// stages' CPU, the time from opening a screen to its boxes on a machine of this many
/// cores with nothing else to do: the text's road (import, ink map, layout, the regions
/// shared among the engines, detection) beside the visual one (import, grey levels,
/// faces, codes), then the plan.
inline void runStageCosts(const QList<CostScreen> &screens, bool verbose)
{
    using namespace velmora;
    confineOpenMpToCallingThread();
    const auto engine = TesseractEngine::create(true);
    const OCRTextRecognizer recognizer(true);
    ScanPipeline pipeline;
    const auto &configuration = CustomDetectionConfiguration::defaultConfiguration();
    const SensitiveTextDetector detector(configuration);
    const FaceFinder faces(VisualSensitiveContentDetector::defaultCascadePath());
    if (!engine || screens.isEmpty())
        return;
    // Starts the shared engines and the face cascades.
    pipeline.scan(ImageImporter::importImage(screens.first().path), detector, configuration.detectorCategoryPreferences);
    faces.findFaces(QImage(8, 8, QImage::Format_Grayscale8));

    const int cores = int(std::thread::hardware_concurrency());
    StageClock total;
    QList<RegionCost> allRegions;
    QMap<QString, QList<double>> readingOrderWalls, longestFirstWalls;
    double recognition = 0, wholeScan = 0;
    for (const CostScreen &screen : screens) {
        StageClock clock;
        QList<RegionCost> regions;
        const ImportedImage imported = clock.time("import", [&] { return ImageImporter::importImage(screen.path); });
        const InkMap ink = clock.time("ink map", [&] { return InkMap(imported.image); });
        const TextLayout layout = clock.time("layout", [&] { return TextLayout(ink); });
        const RegionReader reader(ink, layout);
        for (const TextRegion &region : layout.regions()) {
            StageClock regionClock;
            RegionCost cost;
            cost.screen = screen.label;
            cost.box = region.box;
            cost.singleLine = region.singleLine;
            const auto prepared = regionClock.time("prepare regions", [&] { return reader.prepare(region); });
            cost.input = prepared.grey.size();
            const auto first = regionClock.time("first read (Tesseract)", [&] { return engine->recognize(prepared.grey, RegionReader::engineLayout(region)); });
            const auto lines = regionClock.time("assembly", [&] { return reader.assemble(region, prepared, first.value_or(QList<TesseractLine>())); });
            cost.readAgain = std::any_of(lines.begin(), lines.end(), [](const RecognizedLine &line) { return line.wantsAlternatives; });
            if (cost.readAgain) {
                const auto second = regionClock.time("second read (alternatives)", [&] {
                    return engine->recognize(prepared.grey, RegionReader::engineLayout(region), {}, TesseractChoices::withAlternatives);
                });
                regionClock.time("assembly", [&] { return reader.assemble(region, prepared, second.value_or(QList<TesseractLine>())); });
            }
            cost.firstRead = regionClock["first read (Tesseract)"];
            cost.secondRead = regionClock["second read (alternatives)"];
            for (const char *stage : regionClock.stages())
                cost.all += regionClock[stage];
            clock.add(regionClock);
            regions.append(cost);
        }
        double start = processCpuSeconds();
        const QList<TextObservation> observations = recognizer.recognizeTextSync(imported.image);
        recognition += processCpuSeconds() - start;
        const auto findings = clock.time("detection", [&] { return detector.scan(observations); });
        const QImage grey = clock.time("grey levels", [&] { return imported.image.convertToFormat(QImage::Format_Grayscale8); });
        clock.time("faces (photo regions, cascades)", [&] { return faces.findFaces(grey); });
        clock.time("codes", [&] { return readCodes(grey); });
        clock.time("plan", [&] { return buildScanPlan(findings.detections, {}, {}, {}); });
        start = processCpuSeconds();
        pipeline.scan(imported, detector, configuration.detectorCategoryPreferences);
        wholeScan += processCpuSeconds() - start;

        QList<qsizetype> readingOrder(regions.size());
        std::iota(readingOrder.begin(), readingOrder.end(), 0);
        const double visual = clock["import"] + clock["grey levels"] + clock["faces (photo regions, cascades)"] + clock["codes"];
        const auto wall = [&](const QList<qsizetype> &order) {
            const double text = clock["import"] + clock["ink map"] + clock["layout"] + regionsRead(regions, order, cores) + clock["detection"];
            return 1000 * (std::max(text, visual) + clock["plan"]);
        };
        readingOrderWalls[screen.set].append(wall(readingOrder));
        longestFirstWalls[screen.set].append(wall(layout.regionsLongestFirst()));
        total.add(clock);
        allRegions.append(regions);
    }

    const double count = double(screens.size());
    double sum = 0;
    for (const char *stage : total.stages())
        sum += total[stage];
    std::printf("\nWhere the CPU goes: %lld screens (as above), each stage alone on one thread, CPU per screen:\n", qlonglong(screens.size()));
    for (const char *stage : total.stages())
        std::printf("  %-40s %7.1f ms %5.1f %%\n", stage, 1000 * total[stage] / count, 100 * total[stage] / sum);
    std::printf("  %-40s %7.1f ms\n", "sum of the stages", 1000 * sum / count);
    std::printf("  %-40s %7.1f ms\n", "recognition on the engine's threads", 1000 * recognition / count);
    std::printf("  %-40s %7.1f ms\n", "whole scan on the engine's threads", 1000 * wholeScan / count);
    std::printf("Open to boxes on %d cores with nothing else to do, from these CPU times (median per screen), the regions\n"
                "read longest first (in reading order):", cores);
    for (auto walls = longestFirstWalls.cbegin(); walls != longestFirstWalls.cend(); ++walls)
        std::printf(" %s %.0f ms (%.0f ms)", qPrintable(walls.key()), medianOf(walls.value()), medianOf(readingOrderWalls[walls.key()]));
    std::printf("\n");

    qsizetype lines = 0, readAgain = 0;
    double firstReads = 0, secondReads = 0, lineReads = 0, lineWidths = 0;
    for (const RegionCost &region : allRegions) {
        lines += region.singleLine;
        readAgain += region.readAgain;
        firstReads += region.firstRead;
        secondReads += region.secondRead;
        if (region.singleLine) {
            lineReads += region.firstRead;
            lineWidths += region.input.width();
        }
    }
    std::printf("Regions: %lld (%lld single lines, %lld blocks), %.1f per screen; %lld read again with alternatives (%.1f %% of the\n"
                "first reads' CPU); a first read takes %.2f ms, %.2f ms per 100 px of a single line given to the network\n",
                qlonglong(allRegions.size()), qlonglong(lines), qlonglong(allRegions.size() - lines), allRegions.size() / count,
                qlonglong(readAgain), 100 * secondReads / firstReads, 1000 * firstReads / double(allRegions.size()),
                100 * 1000 * lineReads / std::max(1.0, lineWidths));
    if (verbose) {
        std::sort(allRegions.begin(), allRegions.end(), [](const RegionCost &a, const RegionCost &b) { return a.all > b.all; });
        std::printf("The costliest regions:\n");
        for (qsizetype r = 0; r < std::min<qsizetype>(10, allRegions.size()); ++r) {
            const RegionCost &region = allRegions[r];
            std::printf("  %6.1f + %6.1f ms  %-6s %4dx%-4d given as %5dx%-4d at %d,%d of %s\n", 1000 * region.firstRead, 1000 * region.secondRead,
                        region.singleLine ? "line" : "block", region.box.width(), region.box.height(), region.input.width(),
                        region.input.height(), region.box.x(), region.box.y(), qPrintable(region.screen));
        }
    }
}

} // namespace bench
