// Runs every hostile input the importer, the pattern budget and the clipboard guard
// were hardened against, each in a process of its own that is killed after 30 s, and
// prints its peak memory (maximum resident set) and wall time. Usage:
// velmora_hostile_input_probe [CASE] (one case in this process, as the parent runs it).

#include "arithmetic_jpeg.h"

#include "app/protection/clipboard_image.h"
#include "app/protection/clipboard_protection_controller.h"
#include "core/analysis/import/image_importer.h"
#include "core/analysis/rules/sensitive_text_detector.h"
#include "core/detection/core_error.h"
#include "core/settings/settings_table.h"
#include "core/settings/stored_settings.h"
#include "support/crafted_images.h"
#include "support/crafted_jpeg.h"
#include "support/crafted_png.h"
#include "support/fake_clipboard.h"
#include "support/image_bytes.h"
#include "support/manual_clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QUrl>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <map>

extern char **environ;

using namespace velmora;

namespace {

// A child that runs longer has hung or is a bomb: its row fails.
constexpr int kChildTimeLimitMilliseconds = 30'000;

// The folder the parent prepares the file inputs in, passed to each child.
QString g_folder;

QString inputPath(const char *name)
{
    return g_folder + u'/' + QString::fromUtf8(name);
}

QString importOutcome(const std::function<ImportedImage()> &import)
{
    try {
        const ImportedImage imported = import();
        return QStringLiteral("imported %1x%2").arg(imported.image.width()).arg(imported.image.height());
    } catch (const VelmoraCoreException &exception) {
        return QStringLiteral("refused: ") + rawValue(exception.error());
    }
}

QString importBytes(const QByteArray &bytes)
{
    return importOutcome([&] { return ImageImporter::importImage(bytes); });
}

QString importFile(const char *name)
{
    return importOutcome([&] { return ImageImporter::importImage(inputPath(name)); });
}

QList<TextObservation> lines(const QStringList &texts)
{
    QList<TextObservation> observations;
    for (const QString &text : texts)
        observations.append(TextObservation(text, {0.1, 0.5, 0.8, 0.02}, 0.95));
    return observations;
}

QStringList catastrophicPatterns(int count)
{
    QStringList patterns;
    for (int i = 0; i < count; ++i)
        patterns.append(QStringLiteral("(a+)+b%1").arg(i));
    return patterns;
}

QString scanOutcome(const SensitiveTextFindings &findings)
{
    return QStringLiteral("%1 findings, %2 pattern steps%3")
        .arg(findings.detections.size())
        .arg(findings.customPatternSteps)
        .arg(findings.customPatternsSkipped ? QStringLiteral(", patterns skipped") : QString());
}

const QString kBait = QString(40, u'a') + u'c';

QString clipboardIdlePolls()
{
    test::FakeClipboard clipboard;
    test::ManualClock clock;
    QTemporaryDir settingsFolder;
    const auto settings = StoredSettings::atIniFile(settingsFolder.filePath(QStringLiteral("settings.ini")));
    settings->setValue(Setting::isClipboardProtectionEnabled, true);
    ClipboardProtectionController guard(clipboard, *settings, clock);
    int candidates = 0;
    guard.start([&](const ClipboardImageCandidate &candidate) {
        ++candidates;
        guard.monitorPlan().markHandled(candidate.changeCount);
    });
    QByteArray uriList;
    for (int i = 0; i < 500; ++i)
        uriList += QUrl::fromLocalFile(inputPath("files/") + QString::number(i) + QStringLiteral(".png")).toEncoded() + "\r\n";
    clipboard.write({{QStringLiteral("text/uri-list"), uriList}});
    for (int i = 0; i < 3; ++i)
        clock.advance(ClipboardProtectionController::pollInterval);
    // The named file is read on the thread pool and handed over on this thread.
    while (!guard.fileRead().isFinished())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QElapsedTimer idle;
    idle.start();
    const int polls = 100;
    for (int i = 0; i < polls; ++i)
        clock.advance(ClipboardProtectionController::pollInterval);
    return QStringLiteral("%1 scan, %2 ms per idle poll").arg(candidates).arg(double(idle.nsecsElapsed()) / 1e6 / polls, 0, 'f', 4);
}

// --- The clipboard's own road -----------------------------------------------------------
// Paste Image and the clipboard guard read what a copy offers on the main thread (bytes of
// an image format Velmora reads, or the names in a file list); a named file is read, and
// anything offered decoded, by the importer on the thread pool.

/// What Paste Image does with these clipboard contents; the main thread's share apart.
QString pasteFromClipboard(const QList<ClipboardItem> &contents)
{
    test::FakeClipboard clipboard;
    clipboard.write(contents);
    QElapsedTimer mainThread;
    mainThread.start();
    ClipboardImageOffer offer;
    readClipboardImageOffer(clipboard, nullptr, [&](const ClipboardImageOffer &read) { offer = read; });
    const double mainThreadMs = double(mainThread.nsecsElapsed()) / 1e6;
    QString outcome = QStringLiteral("not offered as an image");
    if (!offer.isEmpty()) {
        const std::optional<QByteArray> bytes = clipboardImageBytes(offer);
        outcome = bytes ? importBytes(*bytes) : QStringLiteral("refused: no named file is a readable image file");
    }
    return QStringLiteral("%1; main thread %2 ms").arg(outcome).arg(mainThreadMs, 0, 'f', 3);
}

QString pasteFileListNamingFifo()
{
    const QString fifo = inputPath("clipboard-shot.png");
    if (::mkfifo(QFile::encodeName(fifo).constData(), 0600) != 0)
        return QStringLiteral("no FIFO");
    return pasteFromClipboard({{QStringLiteral("text/uri-list"), QUrl::fromLocalFile(fifo).toEncoded() + "\r\n"}});
}

/// An SVG of 8192 x 8192 with 40,000 paths (about 3 MB): decoding it takes Qt some 20 s.
QByteArray heavySvg()
{
    QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='8192' height='8192'>";
    for (int i = 0; i < 40000; ++i)
        svg += QStringLiteral("<path d='M%1 %2 C 9000 0, 0 9000, %2 %1' stroke='#123' fill='none'/>")
                   .arg(i % 8192)
                   .arg((i * 7) % 8192)
                   .toUtf8();
    return svg + "</svg>";
}

QString pasteOfferedSvg()
{
    return pasteFromClipboard({{QStringLiteral("image/svg+xml"), heavySvg()}});
}

const std::map<std::string, std::function<QString()>> &cases()
{
    static const std::map<std::string, std::function<QString()>> table{
        // Formats other than PNG, JPEG, TIFF and HEIC, costly JPEG scans and 16-bit images.
        {"20 SVG named .png, <image> a FIFO", [] { return importFile("svg-fifo.png"); }},
        {"21 bytes: SVG, <image> a FIFO", [] { return importBytes(test::svgShowingFile(inputPath("target.fifo"))); }},
        {"22 SVG named .jpg, <image> a PNG", [] { return importFile("svg-png.jpg"); }},
        {"23 SVGZ named .png (228 KB)", [] { return importFile("bomb.svgz.png"); }},
        {"24 20 MB of SVG paths named .png", [] { return importFile("paths.svg.png"); }},
        {"25 ICO named .png, 11000x11000 PNG", [] { return importFile("large.ico.png"); }},
        {"26 ICNS named .png, 11000x11000 PNG", [] { return importFile("large.icns.png"); }},
        {"27 JPEG 8192x8192, 5000 empty scans", [] { return importFile("scans-5000.jpg"); }},
        {"28 JPEG 8192x8192, 32000 empty scans", [] { return importFile("scans-32000.jpg"); }},
        {"29 JPEG 8192x8192, 99 refining scans", [] { return importFile("refining-99.jpg"); }},
        {"30 admitted JPEG 8192x8192 CMYK, 9 scans", [] { return importFile("cmyk-progressive.jpg"); }},
        {"31 16-bit PNG 8192x8192", [] { return importFile("deep-8192.png"); }},
        {"32 16-bit TIFF 8192x8192", [] { return importFile("deep-8192.tif"); }},
        {"33 admitted 16-bit PNG 8192x4096", [] { return importFile("deep-4096.png"); }},
        {"34 admitted 16-bit TIFF 8192x4096", [] { return importFile("deep-4096.tif"); }},
        {"35 admitted JPEG 8192x8192, 30 costly scans", [] { return importFile("costly-30.jpg"); }},
        {"36 TIFF 8192x8192, JPEG of 98 scans", [] { return importFile("jpeg-scans.tif"); }},
        // A byte the decoder skips between two segments, and JPEGs cut short.
        {"37 JPEG 5000 scans, stray byte, 1st scan", [] { return importFile("stray-first-scan.jpg"); }},
        {"38 JPEG 5000 scans, stray byte, table", [] { return importFile("stray-table.jpg"); }},
        {"39 JPEG 5000 scans, stray byte, 2nd scan", [] { return importFile("stray-second-scan.jpg"); }},
        {"40 TIFF 8192x8192, JPEG strips, stray", [] { return importFile("stray-strips.tif"); }},
        {"41 JPEG 8192x8192 cut half-way", [] { return importFile("cut-short.jpg"); }},
        {"42 admitted JPEG 8192x8192 CMYK, arith.", [] { return importFile("arithmetic-cmyk.jpg"); }},
        // TIFFs that give no byte counts for their JPEG strip.
        {"43 TIFF 8192x8192, 97 scans, no counts", [] { return importFile("no-counts-scans.tif"); }},
        {"44 TIFF 8192x8192, cut at 60%, no counts", [] { return importFile("no-counts-cut.tif"); }},
        {"45 TIFF, 80000 overlapping JPEG strips", [] { return importFile("overlapping-strips.tif"); }},
        // TIFFs whose tags are of other integer types than encoders write, and old-style JPEG.
        {"46 TIFF 8192x8192, cut 60%, BYTE compr.", [] { return importFile("byte-compression-cut.tif"); }},
        {"47 TIFF 8192x8192, 97 scans, SLONG offs.", [] { return importFile("slong-offsets-scans.tif"); }},
        {"48 old-style JPEG TIFF 8192x8192, cut 60%", [] { return importFile("old-style-cut.tif"); }},
        {"01 nothing (process baseline)", [] { return QStringLiteral("-"); }},
        {"02 PNG declaring 23170x23170", [] { return importBytes(test::pngDeclaring(23170, 23170)); }},
        {"03 PNG declaring 60800x60800", [] { return importBytes(test::pngDeclaring(60800, 60800)); }},
        {"04 44-byte PNG, chunk claims 2 GB", [] {
             return importBytes(test::pngDeclaring(16, 16).left(33) + QByteArray("\x7f\xff\xff\x00tEXtxxx", 11));
         }},
        {"05 .png linked to /dev/zero", [] { return importFile("zero.png"); }},
        {"06 .png linked to /dev/urandom", [] { return importFile("urandom.png"); }},
        {"07 .png that is a FIFO", [] { return importFile("fifo.png"); }},
        {"08 .png of 257 MB (sparse)", [] { return importFile("huge.png"); }},
        {"09 admitted 1920x30000 page", [] { return importFile("page.png"); }},
        {"10 admitted 11520x2160 (three 4K)", [] { return importFile("wide.png"); }},
        {"11 50 slow patterns, 100 lines", [] {
             return scanOutcome(SensitiveTextDetector(CustomDetectionConfiguration({}, catastrophicPatterns(50), {}, {}, {}, {}))
                                    .scan(lines(QStringList(100, kBait))));
         }},
        {"12 100 slow patterns, 30 lines", [] {
             return scanOutcome(SensitiveTextDetector(CustomDetectionConfiguration({}, catastrophicPatterns(100), {}, {}, {}, {}))
                                    .scan(lines(QStringList(30, kBait))));
         }},
        {"13 20 slow learned rules, 100 e-mails", [] {
             QList<LearnedSafeRule> learned;
             for (const QString &pattern : catastrophicPatterns(20))
                 learned.append(LearnedSafeRule(pattern, LearnedSafeRule::MatchKind::pattern, pattern, std::nullopt, {}));
             QStringList texts;
             for (int i = 0; i < 100; ++i)
                 texts.append(QString(40, u'a') + QStringLiteral("%1@example.com").arg(i));
             return scanOutcome(SensitiveTextDetector(CustomDetectionConfiguration({}, {}, {}, {}, {}, learned)).scan(lines(texts)));
         }},
        {"14 e-mail after 1450 dotted chars", [] {
             QString text;
             while (text.size() < 1450)
                 text += QStringLiteral("a.");
             return scanOutcome(SensitiveTextDetector(CustomDetectionConfiguration())
                                    .scan(lines({text + QStringLiteral(" carol@example.com")})));
         }},
        {"15 clipboard: 500 files, idle polls", clipboardIdlePolls},
        // The clipboard's own road.
        {"16 paste: file list naming a FIFO", pasteFileListNamingFifo},
        {"17 paste: 3 MB SVG as image/svg+xml", pasteOfferedSvg},
    };
    return table;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The JPEG with `bytes` put in before the `nth` (from 0) marker `marker`.
QByteArray insertedBefore(QByteArray jpeg, char marker, int nth, const QByteArray &bytes)
{
    qsizetype at = -1;
    for (int i = 0; i <= nth; ++i)
        at = jpeg.indexOf(QByteArray("\xFF", 1) + marker, at + 1);
    return jpeg.insert(at, bytes);
}

bool prepareJpegStructureInputs()
{
    const QByteArray stray(1, '\0');
    const QByteArray bomb = test::progressiveJpeg({.width = 8192, .height = 8192, .acScans = 5000});
    const QByteArray strips = test::progressiveJpeg({.width = 8192, .height = 1024, .acScans = 12, .refining = true});
    QImage photo(8192, 8192, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x)
            row[x] = qRgb(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF);
    }
    const QByteArray whole = test::encodedImage(photo, "JPEG");
    const QByteArray grey = test::encodedImage(photo.convertToFormat(QImage::Format_Grayscale8), "JPEG");
    return writeFile(inputPath("stray-first-scan.jpg"), insertedBefore(bomb, '\xDA', 0, stray))
           && writeFile(inputPath("stray-table.jpg"), insertedBefore(bomb, '\xC4', 0, stray))
           // An empty comment after the first scan, then the stray byte.
           && writeFile(inputPath("stray-second-scan.jpg"),
                        insertedBefore(bomb, '\xDA', 1, QByteArray("\xFF\xFE\x00\x02\x00", 5)))
           && writeFile(inputPath("stray-strips.tif"), test::jpegTiff(8192, 8192, 1024, insertedBefore(strips, '\xDA', 0, stray)))
           && writeFile(inputPath("cut-short.jpg"), whole.left(whole.size() / 2))
           && writeFile(inputPath("no-counts-cut.tif"), test::jpegTiffWithoutByteCounts(8192, 8192, grey.left(grey.size() * 3 / 5)))
           && writeFile(inputPath("byte-compression-cut.tif"),
                        test::jpegTiff(8192, 8192, 8192, grey.left(grey.size() * 3 / 5), {.compressionType = 1}))
           && writeFile(inputPath("old-style-cut.tif"),
                        test::jpegTiff(8192, 8192, 8192, whole.left(whole.size() * 3 / 5), {.compression = 6, .yCbCr = true}))
           && writeFile(inputPath("overlapping-strips.tif"), test::jpegTiffOfOverlappingStrips(80000))
           && writeFile(inputPath("arithmetic-cmyk.jpg"), bench::arithmeticCodedCmykJpeg(8192, 8192));
}

bool prepareImageFormatInputs()
{
    ::mkfifo(inputPath("target.fifo").toUtf8().constData(), 0600);
    const QByteArray largePng = test::pngDeclaring(11000, 11000, 11000);
    const auto jpegScans = [](int scans, bool refining) {
        return test::progressiveJpeg({.width = 8192, .height = 8192, .acScans = scans, .refining = refining});
    };
    return writeFile(inputPath("svg-fifo.png"), test::svgShowingFile(inputPath("target.fifo")))
           && writeFile(inputPath("other.png"), test::pngDeclaring(640, 480, 480))
           && writeFile(inputPath("svg-png.jpg"), test::svgShowingFile(inputPath("other.png")))
           && writeFile(inputPath("bomb.svgz.png"), test::gzipped(test::svgOfPaths(64 * 1024 * 1024)))
           && writeFile(inputPath("paths.svg.png"), test::svgOfPaths(20 * 1024 * 1024))
           && writeFile(inputPath("large.ico.png"), test::icoHolding(largePng))
           && writeFile(inputPath("large.icns.png"), test::icnsHolding(largePng))
           && writeFile(inputPath("scans-5000.jpg"), jpegScans(5000, false))
           && writeFile(inputPath("scans-32000.jpg"), jpegScans(32000, false))
           && writeFile(inputPath("refining-99.jpg"), jpegScans(99, true))
           && writeFile(inputPath("jpeg-scans.tif"), test::jpegTiff(8192, 8192, 8192, jpegScans(98, true)))
           && writeFile(inputPath("no-counts-scans.tif"), test::jpegTiffWithoutByteCounts(8192, 8192, jpegScans(97, true)))
           && writeFile(inputPath("slong-offsets-scans.tif"),
                        test::jpegTiff(8192, 8192, 8192, jpegScans(97, true), {.stripOffsetsType = 9}))
           && writeFile(inputPath("costly-30.jpg"),
                        test::progressiveJpeg({.width = 8192, .height = 8192, .acScans = 30, .refining = true,
                                               .lastCoefficient = 1}))
           && writeFile(inputPath("cmyk-progressive.jpg"),
                        test::progressiveJpeg({.width = 8192, .height = 8192, .components = 4, .acScans = 8}))
           && writeFile(inputPath("deep-8192.png"), test::pngDeclaring(8192, 8192, 8192, 16, 6))
           && writeFile(inputPath("deep-8192.tif"), test::tiffDeclaring(8192, 8192, 16, 4))
           && writeFile(inputPath("deep-4096.png"), test::pngDeclaring(8192, 4096, 4096, 16, 6))
           && writeFile(inputPath("deep-4096.tif"), test::tiffDeclaring(8192, 4096, 16, 4));
}

bool prepareInputs()
{
    if (!prepareImageFormatInputs() || !prepareJpegStructureInputs())
        return false;
    QFile::link(QStringLiteral("/dev/zero"), inputPath("zero.png"));
    QFile::link(QStringLiteral("/dev/urandom"), inputPath("urandom.png"));
    ::mkfifo(inputPath("fifo.png").toUtf8().constData(), 0600);
    QFile huge(inputPath("huge.png"));
    if (!huge.open(QIODevice::WriteOnly) || !huge.resize(257LL * 1024 * 1024))
        return false;
    huge.close();
    if (!writeFile(inputPath("page.png"), test::pngDeclaring(1920, 30000, 30000))
        || !writeFile(inputPath("wide.png"), test::pngDeclaring(11520, 2160, 2160)))
        return false;
    QDir(g_folder).mkdir(QStringLiteral("files"));
    const QImage small(8, 8, QImage::Format_RGB32);
    for (int i = 0; i < 500; ++i) {
        if (!small.save(inputPath("files/") + QString::number(i) + QStringLiteral(".png"), "PNG"))
            return false;
    }
    return true;
}

// The process's high-water mark of resident memory. Unlike getrusage's figure it
// starts afresh at exec, so the parent's own memory does not count.
double peakResidentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
    }
    return -1;
}

// Waits for the child to end, or kills it once the time is up. False when it had to be killed.
bool waitForChild(pid_t child, int &status, int timeoutMilliseconds)
{
    const int handle = int(::syscall(SYS_pidfd_open, child, 0));
    pollfd ended{handle, POLLIN, 0};
    const bool inTime = handle >= 0 && poll(&ended, 1, timeoutMilliseconds) == 1;
    if (!inTime)
        ::kill(child, SIGKILL);
    if (handle >= 0)
        ::close(handle);
    waitpid(child, &status, 0);
    return inTime;
}

int runCase(const std::string &name)
{
    const auto found = cases().find(name);
    if (found == cases().end())
        return 2;
    QElapsedTimer clock;
    clock.start();
    const QString outcome = found->second();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    std::printf("%-40s %9.1f %9.1f   %s\n", name.c_str(), peakResidentMegabytes(), ms, qPrintable(outcome));
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("com.orlwick.kavri.*=false"));
    if (argc == 3) {
        g_folder = QString::fromLocal8Bit(argv[2]);
        return runCase(argv[1]);
    }
    QTemporaryDir folder;
    g_folder = folder.path();
    if (!prepareInputs()) {
        std::fprintf(stderr, "Could not prepare the inputs in %s\n", qPrintable(g_folder));
        return 1;
    }
    std::printf("%-40s %9s %9s   %s\n", "input", "peak MB", "ms", "outcome");
    std::fflush(stdout);
    const QByteArray folderArgument = g_folder.toLocal8Bit();
    for (const auto &[name, run] : cases()) {
        char *childArgv[] = {argv[0], const_cast<char *>(name.c_str()), const_cast<char *>(folderArgument.constData()),
                             nullptr};
        pid_t child = 0;
        if (posix_spawn(&child, argv[0], nullptr, nullptr, childArgv, environ) != 0)
            return 1;
        int status = 0;
        if (!waitForChild(child, status, kChildTimeLimitMilliseconds))
            std::printf("%-40s failed (killed after %d s)\n", name.c_str(), kChildTimeLimitMilliseconds / 1000);
        else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            std::printf("%-40s failed (status %d)\n", name.c_str(), status);
        std::fflush(stdout);
    }
    return 0;
}
