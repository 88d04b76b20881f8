#include "core/analysis/recognition/image_without_global_pool.h"
#include "core/analysis/recognition/region_reader.h"
#include "core/analysis/recognition/tesseract_engine_pool.h"
#include "core/analysis/recognition/text_recognizer.h"

#include "support/event_loop.h"
#include "support/image_fixtures.h"
#include "support/recognized_lines.h"
#include "support/row_name.h"
#include "support/thread_pool_gate.h"

#include <QtConcurrent>

#include <gtest/gtest.h>

#include <cmath>

using namespace velmora;
using namespace velmora::testing;

namespace velmora::test {
namespace {

// Qt's smooth scaling and its generic format conversions, called on a thread outside Qt's
// global pool, hand pieces of a large image to that pool and wait for them. The
// recognition's threads are outside it, and a reading that asked it for help stood still
// for as long as something else held its threads (the GUI thread's painting, a test). So
// the recogniser scales without that pool, and must give every grey level Qt would.

const QString sans = QStringLiteral("DejaVu Sans");

QImage page(const QList<QList<TextPiece>> &lines, int pixelSize, QSize size = QSize(900, 0))
{
    return renderLines(lines, sans, pixelSize, QColor(0x1f2328), Qt::white, size).image;
}

/// The page's lines read as one block, which the reader enlarges for Tesseract's layout analysis.
QFuture<QString> readAsOneBlock(const QImage &image)
{
    return QtConcurrent::run(&TesseractEnginePool::threads(), [image] {
        const InkMap ink(image);
        const TextLayout layout(ink);
        TextRegion block{QRect(), false, 0, image.width()};
        for (const TextRegion &region : layout.regions())
            block.box |= region.box;
        confineOpenMpToCallingThread();
        const auto engine = TesseractEngine::create(true);
        const auto lines = engine ? RegionReader(ink, layout).read(*engine, block) : std::nullopt;
        QStringList texts;
        for (const RecognizedLine &line : lines.value_or(QList<RecognizedLine>{}))
            texts.append(line.text);
        return texts.join(QLatin1Char('\n'));
    });
}

/// The page read by the recogniser, as the scan reads it.
QFuture<QString> recognized(const QImage &image)
{
    return OCRTextRecognizer().recognizeText(image, ImageOrientation::up, {}).then(
        [](const QList<TextObservation> &lines) { return allText(lines); });
}

struct HeldPoolRow
{
    const char *name;
    QImage (*image)();
    QFuture<QString> (*read)(const QImage &image);
    QString text;
};

class ReadingBesideQtsGlobalPool : public ::testing::TestWithParam<HeldPoolRow> {};

TEST_P(ReadingBesideQtsGlobalPool, EndsWhileThatPoolIsHeld)
{
    const QImage image = GetParam().image(); // drawn while the pool is free
    ThreadPoolGate qtGlobalPool({QThreadPool::globalInstance()});
    const QFuture<QString> read = GetParam().read(image);
    const bool ended = waitUntil([&] { return read.isFinished(); }, "the reading to end");
    // A reading that waited for the pool ends once it is let go, before the test goes on.
    qtGlobalPool.open();
    ASSERT_TRUE(ended);
    EXPECT_EQ(read.result(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Rows, ReadingBesideQtsGlobalPool, ::testing::Values(
    HeldPoolRow{"anEnlargedBlock",
                [] {
                    return page({{TextPiece{QStringLiteral("Invoice 4471 is due")}},
                                 {TextPiece{QStringLiteral("Send it to billing")}},
                                 {TextPiece{QStringLiteral("before Friday noon")}}},
                                11, QSize(300, 0));
                },
                readAsOneBlock, QStringLiteral("Invoice 4471 is due\nSend it to billing\nbefore Friday noon")},
    HeldPoolRow{"aReducedLargeLine",
                [] { return page({{TextPiece{QStringLiteral("Quarterly report for the northern region")}}}, 64, QSize(1700, 0)); },
                recognized, QStringLiteral("Quarterly report for the northern region")},
    HeldPoolRow{"aPremultipliedPage",
                [] {
                    return page({{TextPiece{QStringLiteral("Ticket 4821 closed")}}}, 16, QSize(600, 300))
                        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
                },
                recognized, QStringLiteral("Ticket 4821 closed")}
), rowName);

int largestDifference(const QImage &a, const QImage &b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            for (const int shift : {0, 8, 16, 24})
                largest = std::max(largest, std::abs(int(a.pixel(x, y) >> shift & 0xff) - int(b.pixel(x, y) >> shift & 0xff)));
    return largest;
}

struct ScalingRow
{
    const char *name;
    QImage::Format format;
    QSize from;
    double factor;
    int tolerance; ///< Grey levels: OpenCV's area averaging rounds apart from Qt's.
};

class ScaledWithoutGlobalPool : public ::testing::TestWithParam<ScalingRow> {};

TEST_P(ScaledWithoutGlobalPool, GivesWhatQtsSmoothScalingGives)
{
    const ScalingRow &row = GetParam();
    const QImage image = page({{TextPiece{QStringLiteral("Quarterly figures: 4821 gjpqy")}}, {TextPiece{QStringLiteral("_ENV=x")}}},
                              13, row.from).convertToFormat(row.format);
    const QSize size(int(std::lround(row.from.width() * row.factor)), int(std::lround(row.from.height() * row.factor)));
    const QImage ours = scaledWithoutGlobalPool(image, size);
    ASSERT_EQ(ours.size(), size);
    EXPECT_LE(largestDifference(ours, image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(ours.format())),
              row.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Rows, ScaledWithoutGlobalPool, ::testing::Values(
    ScalingRow{"greyBlockEnlarged", QImage::Format_Grayscale8, QSize(300, 110), 3.7, 0},
    ScalingRow{"greyLineToTheNetworksHeight", QImage::Format_Grayscale8, QSize(400, 20), 1.8, 0},
    ScalingRow{"greyLineMildlyReduced", QImage::Format_Grayscale8, QSize(400, 60), 0.7, 0},
    ScalingRow{"greyLineReducedToAThird", QImage::Format_Grayscale8, QSize(900, 110), 0.33, 1},
    ScalingRow{"pageReduced", QImage::Format_RGB32, QSize(700, 110), 0.9, 1}
), rowName);

} // namespace
} // namespace velmora::test
