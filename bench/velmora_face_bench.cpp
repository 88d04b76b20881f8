// Faces at avatar size: chat and mail screenshots whose avatars (24, 32, 48 and 64 px,
// round and square, light and dark) are cut from photographs of 13 distinct faces
// that Debian and npm packages ship (scripts/install-deps bench installs them), and
// screenshots without a face (code, a terminal, a dashboard, prose, logos, emoji).
// Each goes through the visual detector as a scan runs it, and the program prints:
//
//   - per avatar size, the share of faces found with a box covering the whole face
//     (the face box of the full-size photograph, scaled with the crop), and the share
//     found at all (a box over half the face);
//   - per face, how many of its avatars were found at each size;
//   - false boxes: face boxes over no face, on the avatar screens and the faceless ones,
//     on toolbars of the desktop theme's icons (24 to 54 px) and on the real programs'
//     windows the OCR benchmark drew (its cache, when it has run);
//   - on the two text screens, visual detection's time against recognition's.
//
//   velmora_face_bench [--dump DIR]   (DIR receives every screen drawn)

#include "face_bench_screens.h"

#include "core/analysis/recognition/text_recognizer.h"
#include "core/analysis/visual/visual_content_detector.h"
#include "core/detection/core_error.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <map>

using namespace velmora;
using namespace face_bench;

namespace {

const int kSizes[] = {24, 32, 48, 64};
constexpr double kCoversWhole = 0.95; ///< Share of the true face a box must cover to count as whole.
constexpr double kCoversHalf = 0.5;

QRectF pixelBox(const NormRect &box, const QSize &size)
{
    return QRectF(box.x * size.width(), (1.0 - box.maxY()) * size.height(), box.width * size.width(),
                  box.height * size.height());
}

QList<QRectF> faceBoxes(const VisualSensitiveContentDetector &detector, const QImage &image)
{
    QList<QRectF> boxes;
    for (const VisualContentObservation &seen : detector.detectVisualContent(image)) {
        if (seen.kind == VisualContentObservation::Kind::face)
            boxes.append(pixelBox(seen.normalizedBounds, image.size()));
    }
    return boxes;
}

double area(const QRectF &box)
{
    return box.isEmpty() ? 0 : box.width() * box.height();
}

/// The largest share of `truth` that one of the boxes covers.
double bestCover(const QRectF &truth, const QList<QRectF> &boxes)
{
    double best = 0;
    for (const QRectF &box : boxes)
        best = std::max(best, area(box & truth) / area(truth));
    return best;
}

/// Boxes that cover no face by half (over the background, or beside a face), each printed.
int falseBoxes(const QList<QRectF> &boxes, const QList<PlacedFace> &faces, const QString &screen)
{
    int count = 0;
    for (const QRectF &box : boxes) {
        const bool onAFace = std::any_of(faces.begin(), faces.end(), [&](const PlacedFace &face) {
            return area(box & face.truth) >= kCoversHalf * std::min(area(box), area(face.truth));
        });
        if (!onAFace)
            std::printf("  false box at %.0f,%.0f %.0fx%.0f on %s\n", box.x(), box.y(), box.width(), box.height(),
                        qPrintable(screen));
        count += !onAFace;
    }
    return count;
}

double medianMs(const std::function<void()> &work)
{
    QList<double> times;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.append(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.at(1);
}

void dump(const QString &folder, const QString &name, const QImage &image)
{
    if (!folder.isEmpty())
        image.save(QDir(folder).filePath(QString(name).replace(QLatin1Char(' '), QLatin1Char('-')) + ".png"));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const qsizetype dumpAt = arguments.indexOf(QStringLiteral("--dump"));
    const QString dumpDir = dumpAt > 0 ? arguments.value(dumpAt + 1) : QString();

    QList<QImage> photos;
    std::printf("Faces (%zu distinct):\n", std::size(kFaces));
    for (const FaceSource &source : kFaces) {
        try {
            photos.append(ImageImporter::importImage(sourcePath(source)).image);
        } catch (const VelmoraCoreException &) {
            std::fprintf(stderr, "%s is missing: run scripts/install-deps bench\n", qPrintable(sourcePath(source)));
            return 1;
        }
        std::printf("  %-16s %-26s %s\n", source.name, source.package, qPrintable(sourcePath(source)));
    }

    const VisualSensitiveContentDetector detector;
    std::map<int, std::pair<int, int>> wholeBySize; // size -> (found whole, avatars)
    std::map<int, int> halfBySize;
    std::map<std::pair<int, int>, int> wholeByFaceAndSize;
    int avatarFalseBoxes = 0;
    for (const int size : kSizes) {
        for (const Shape shape : {Shape::round, Shape::square}) {
            for (const Theme &theme : {kLight, kDark}) {
                const Screen screen = conversation(photos, size, shape, theme);
                dump(dumpDir, screen.name, screen.image);
                const QList<QRectF> boxes = faceBoxes(detector, screen.image);
                for (const PlacedFace &face : screen.faces) {
                    const double cover = bestCover(face.truth, boxes);
                    const bool whole = cover >= kCoversWhole;
                    wholeBySize[size].first += whole;
                    ++wholeBySize[size].second;
                    halfBySize[size] += cover >= kCoversHalf;
                    wholeByFaceAndSize[{face.source, size}] += whole;
                }
                avatarFalseBoxes += falseBoxes(boxes, screen.faces, screen.name);
            }
        }
    }

    std::printf("\nRecall per avatar size (whole face covered / found at all), over %d avatars each:\n",
                wholeBySize[kSizes[0]].second);
    for (const int size : kSizes) {
        const auto [whole, all] = wholeBySize[size];
        std::printf("  %2d px: %5.1f %% / %5.1f %%\n", size, 100.0 * whole / all, 100.0 * halfBySize[size] / all);
    }
    std::printf("\nPer face, avatars found whole of 4 at 24 / 32 / 48 / 64 px:\n");
    for (int face = 0; face < int(std::size(kFaces)); ++face) {
        std::printf("  %-16s", kFaces[face].name);
        for (const int size : kSizes)
            std::printf(" %d", wholeByFaceAndSize[{face, size}]);
        std::printf("\n");
    }

    const QString bench = QStringLiteral(VELMORA_BENCH_DIR "/screenshots/");
    const QList<std::pair<QString, QImage>> faceless{
        {QStringLiteral("code editor"), QImage(bench + "dense-editor-light-1920x1080.png")},
        {QStringLiteral("terminal"), QImage(bench + "dense-terminal-dark-1920x1080.png")},
        {QStringLiteral("dashboard"), dashboard()},
        {QStringLiteral("prose"), textPage()},
        {QStringLiteral("logos"), logos()},
        {QStringLiteral("emoji"), emoji()},
    };
    int facelessBoxes = 0;
    for (const auto &[name, image] : faceless) {
        dump(dumpDir, name, image);
        const int boxes = falseBoxes(faceBoxes(detector, image), {}, name);
        facelessBoxes += boxes;
    }
    std::printf("\nFalse boxes: %d on the avatar screens, %d on the faceless screens\n", avatarFalseBoxes,
                facelessBoxes);

    // Icons at the sizes toolbars and title bars show them, and the real programs'
    // windows the OCR benchmark drew (its cache), none of them holding a face.
    const QList<QImage> icons = desktopIcons();
    QStringList iconBoxes;
    for (const int size : {24, 27, 32, 40, 48, 54}) {
        int boxes = 0;
        for (const Theme &theme : {kLight, kDark}) {
            const QString name = QStringLiteral("icons %1 %2px").arg(theme.name).arg(size);
            const QImage image = iconToolbars(icons, size, theme);
            dump(dumpDir, name, image);
            boxes += falseBoxes(faceBoxes(detector, image), {}, name);
        }
        iconBoxes.append(QStringLiteral("%1 px: %2").arg(size).arg(boxes));
    }
    std::printf("\nFalse boxes on toolbars of %lld desktop icons, light and dark: %s", static_cast<long long>(icons.size()),
                qPrintable(iconBoxes.join(QStringLiteral(", "))));
    const QDir programs(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/velmora-bench/programs"));
    int windowBoxes = 0, windows = 0, windowsWithBoxes = 0;
    for (const QFileInfo &file : programs.entryInfoList({QStringLiteral("*.png")}, QDir::Files, QDir::Name)) {
        const int boxes = falseBoxes(faceBoxes(detector, QImage(file.filePath())), {}, file.fileName());
        windowBoxes += boxes;
        windowsWithBoxes += boxes > 0;
        ++windows;
    }
    std::printf("\nFalse boxes on %d program windows of the OCR benchmark's cache: %d, on %d windows\n", windows, windowBoxes, windowsWithBoxes);

    std::printf("\nOn text screens, visual detection against recognition:\n");
    const OCRTextRecognizer recognizer;
    for (int screen = 0; screen < 2; ++screen) {
        const QImage &image = faceless.at(screen).second;
        recognizer.recognizeTextSync(image); // starts the engines
        const double recognizeMs = medianMs([&] { recognizer.recognizeTextSync(image); });
        const double visualMs = medianMs([&] { detector.detectVisualContent(image); });
        std::printf("  %-12s recognition %6.0f ms, visual %5.0f ms (%.2f of it)\n", qPrintable(faceless.at(screen).first),
                    recognizeMs, visualMs, visualMs / recognizeMs);
    }
    return 0;
}
