// Scans images end to end through the same scan the review runs (runScan), with the
// default configuration (no custom terms, no preset), and prints one JSON object per
// scanned image and a last one with the spread of the totals:
//
//   velmora_scan_bench [--repeat N] [--see-through] IMAGE...
//   velmora_scan_bench --alpha-edges
//
// Every image is scanned N times (default 1), each scan printing its own line; the
// last line counts the images scanned and takes the median and 90th percentile
// (nearest rank) over every scan's total. A file that cannot be imported or scanned
// is reported on standard error and the program ends with status 1 after the others.
// With --see-through, each image is made 4K and scanned opaque and as it sees through
// (see_through_shots.h), the shots in turns, each line naming its shot and the scan's
// CPU; the last lines give each shot's median wall time and CPU. With --alpha-edges, a
// page of five values is scanned with an edge of the alpha swept across them, opaque on
// either side of it and 20 % or 50 % on the other (alpha_edge_sweep.h), and how much of
// each value's ink the findings cover is counted (under xvfb-run, or with
// QT_QPA_PLATFORM=offscreen: the pages are drawn with the desktop's fonts).

#include "alpha_edge_sweep.h"
#include "scan_costs.h"
#include "see_through_shots.h"

#include "core/analysis/scan/scan_pipeline.h"
#include "core/detection/core_error.h"
#include "core/redaction/needs_review.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

using namespace velmora;

namespace {

QString jsonString(const QString &text)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar character : text) {
        switch (character.unicode()) {
        case u'"': quoted += QStringLiteral("\\\""); break;
        case u'\\': quoted += QStringLiteral("\\\\"); break;
        case u'\n': quoted += QStringLiteral("\\n"); break;
        case u'\r': quoted += QStringLiteral("\\r"); break;
        case u'\t': quoted += QStringLiteral("\\t"); break;
        default:
            if (character.unicode() < 0x20)
                quoted += QStringLiteral("\\u%1").arg(character.unicode(), 4, 16, QLatin1Char('0'));
            else
                quoted += character;
        }
    }
    return quoted + QLatin1Char('"');
}

/// Exactly the value held: the shortest text that reads back as the same double.
QString jsonNumber(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString milliseconds(double value)
{
    return QString::number(value, 'f', 1);
}

QString jsonBool(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QString entryJson(const RedactionPlanEntry &entry)
{
    const Detection &finding = entry.detection;
    const NormRect &box = finding.normalizedBounds;
    return QStringLiteral("{\"label\":%1,\"kind\":%2,\"source\":%3,\"confidence\":%4,\"isActive\":%5,"
                          "\"needsReview\":%6,\"boundsPrecision\":%7,\"bounds\":[%8,%9,%10,%11],\"matchedText\":%12}")
        .arg(jsonString(finding.label), jsonString(rawValue(finding.kind)), jsonString(rawValue(finding.source)),
             jsonNumber(finding.confidence), jsonBool(entry.isActive), jsonBool(entryNeedsReview(entry)),
             jsonString(rawValue(finding.boundsPrecision)), jsonNumber(box.x), jsonNumber(box.y))
        .arg(jsonNumber(box.width), jsonNumber(box.height),
             finding.matchedText ? jsonString(*finding.matchedText) : QStringLiteral("null"));
}

QString imageJson(const QString &file, const ScanPipelineResult &result)
{
    QStringList entries;
    for (const RedactionPlanEntry &entry : result.plan.entries())
        entries.append(entryJson(entry));
    const ScanStageTimings &t = result.timings;
    return QStringLiteral("{\"file\":%1,\"width\":%2,\"height\":%3,\"importMs\":%4,\"recognizeMs\":%5,"
                          "\"visualMs\":%6,\"detectMs\":%7,\"planMs\":%8,\"totalMs\":%9,\"lines\":%10,"
                          "\"entries\":[%11]}")
        .arg(jsonString(file), QString::number(result.imageSize.width()), QString::number(result.imageSize.height()),
             milliseconds(t.importMs), milliseconds(t.recognizeMs), milliseconds(t.visualMs),
             milliseconds(t.detectMs), milliseconds(t.planMs), milliseconds(t.totalMs))
        .arg(QString::number(result.lineCount), entries.join(QLatin1Char(',')));
}

/// The value below which `share` of the sorted values lie (nearest rank).
double percentile(const QList<double> &sorted, double share)
{
    const auto rank = qsizetype(std::ceil(share * double(sorted.size())));
    return sorted[std::clamp<qsizetype>(rank - 1, 0, sorted.size() - 1)];
}

int usage()
{
    std::fprintf(stderr, "usage: velmora_scan_bench [--repeat N] [--see-through] IMAGE...\n"
                         "       velmora_scan_bench --alpha-edges\n");
    return 2;
}

/// Each image's see-through shots, written as PNG files into `folder`, scanned in turns
/// `repeat` times; prints each scan, then each shot's medians over every image.
bool scanSeeThroughShots(const QStringList &images, int repeat, const QDir &folder, const SensitiveTextDetector &detector,
                         ScanPipeline &pipeline)
{
    QList<std::pair<QString, QString>> shots; // name, file
    for (const QString &image : images) {
        for (const bench::SeeThroughShot &shot : bench::seeThroughShots(QImage(image))) {
            const QString file = folder.filePath(QStringLiteral("%1.png").arg(shots.size()));
            if (shot.image.isNull() || !shot.image.save(file)) {
                std::fprintf(stderr, "%s: could not make the shot \"%s\"\n", qPrintable(image), qPrintable(shot.name));
                return false;
            }
            shots.append({shot.name, file});
        }
    }
    const auto &preferences = CustomDetectionConfiguration::defaultConfiguration().detectorCategoryPreferences;
    QMap<QString, QList<double>> walls, cpus;
    QStringList order;
    for (int run = 0; run < repeat; ++run) {
        for (const auto &[name, file] : std::as_const(shots)) {
            const double cpu = bench::processCpuSeconds();
            const auto result = pipeline.scanFile(file, detector, preferences);
            const double cpuMs = 1000 * (bench::processCpuSeconds() - cpu);
            std::printf("{\"shot\":%s,\"cpuMs\":%s,\"scan\":%s}\n", qPrintable(jsonString(name)), qPrintable(milliseconds(cpuMs)),
                        qPrintable(imageJson(file, result)));
            std::fflush(stdout);
            walls[name].append(result.timings.totalMs);
            cpus[name].append(cpuMs);
            if (!order.contains(name))
                order.append(name);
        }
    }
    for (const QString &name : std::as_const(order))
        std::printf("%-24s median wall %7.0f ms, CPU %7.0f ms\n", qPrintable(name), bench::medianOf(walls[name]), bench::medianOf(cpus[name]));
    return true;
}

/// The sweeps of alpha edges, opaque left of the edge and right of it, at 20 % and at
/// 50 % beyond it; their pages are drawn with the desktop's fonts.
int sweepAlphaEdges(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QTemporaryDir folder;
    const SensitiveTextDetector detector(CustomDetectionConfiguration::defaultConfiguration());
    ScanPipeline pipeline;
    for (const auto opaque : {testing::OpaqueSide::left, testing::OpaqueSide::right}) {
        for (const int alpha : {51, 128}) {
            if (!bench::sweepAlphaEdges(alpha, opaque, QDir(folder.path()), detector, pipeline))
                return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--alpha-edges") == 0)
        return sweepAlphaEdges(argc, argv);
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    int repeat = 1;
    if (!arguments.isEmpty() && arguments.first() == QLatin1String("--repeat")) {
        bool ok = false;
        repeat = arguments.value(1).toInt(&ok);
        if (!ok || repeat < 1)
            return usage();
        arguments = arguments.mid(2);
    }
    const bool seeThrough = !arguments.isEmpty() && arguments.first() == QLatin1String("--see-through");
    if (seeThrough)
        arguments.removeFirst();
    if (arguments.isEmpty())
        return usage();

    const CustomDetectionConfiguration &configuration = CustomDetectionConfiguration::defaultConfiguration();
    const SensitiveTextDetector detector(configuration);
    ScanPipeline pipeline;
    if (seeThrough) {
        const QTemporaryDir folder;
        pipeline.scanFile(arguments.first(), detector, configuration.detectorCategoryPreferences); // starts the engines
        return scanSeeThroughShots(arguments, repeat, QDir(folder.path()), detector, pipeline) ? 0 : 1;
    }

    QList<double> totals;
    QStringList scannedImages;
    bool failed = false;
    for (int run = 0; run < repeat; ++run) {
        for (const QString &file : std::as_const(arguments)) {
            try {
                const auto result = pipeline.scanFile(file, detector, configuration.detectorCategoryPreferences);
                std::printf("%s\n", qPrintable(imageJson(file, result)));
                std::fflush(stdout);
                totals.append(result.timings.totalMs);
                if (!scannedImages.contains(file))
                    scannedImages.append(file);
            } catch (const VelmoraCoreException &error) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(file), qPrintable(rawValue(error.error())));
                failed = true;
            }
        }
    }

    std::sort(totals.begin(), totals.end());
    std::printf("{\"images\":%lld,\"medianTotalMs\":%s,\"p90TotalMs\":%s}\n",
                static_cast<long long>(scannedImages.size()),
                qPrintable(totals.isEmpty() ? QStringLiteral("null") : milliseconds(percentile(totals, 0.5))),
                qPrintable(totals.isEmpty() ? QStringLiteral("null") : milliseconds(percentile(totals, 0.9))));
    return failed ? 1 : 0;
}
