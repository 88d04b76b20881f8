#include "app/help/quick_start_sample.h"
#include "app/help/velmora_sample_image.h"
#include "core/analysis/import/image_importer.h"
#include "core/analysis/scan/scan_pipeline.h"
#include "core/detection/custom_detection_configuration.h"

#include "app/panes/review_harness.h"
#include "support/image_bytes.h"

#include <QApplication>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

QPalette lightPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0xec, 0xec, 0xec));
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::black);
    return palette;
}

/// Rows of the card's text area (from the top) that hold ink, grouped into bands
/// separated by more than a few blank rows: one band per line of text, top to bottom
/// (an underscore lies several blank rows below its letters).
QList<QRect> inkBands(const QImage &image, const QColor &cardColor)
{
    const QRect textArea(80, 80, 960, 560); // inside the card, clear of its rounded corners
    QList<QRect> bands;
    std::optional<QRect> band;
    int blankRows = 0;
    for (int y = textArea.top(); y <= textArea.bottom(); ++y) {
        int left = -1;
        int right = -1;
        for (int x = textArea.left(); x <= textArea.right(); ++x) {
            if (image.pixelColor(x, y).rgb() != cardColor.rgb()) {
                if (left < 0)
                    left = x;
                right = x;
            }
        }
        if (left >= 0) {
            const QRect row(left, y, right - left + 1, 1);
            band = band ? band->united(row) : row;
            blankRows = 0;
        } else if (band && ++blankRows > 9) {
            bands.append(*band);
            band.reset();
        }
    }
    if (band)
        bands.append(*band);
    return bands;
}

/// The sample finding's box in pixels, from the top.
QRectF findingPixels()
{
    const NormRect bounds = quickStartSampleDetections().front().normalizedBounds;
    const QSize size = VelmoraSampleImage::size;
    return QRectF(bounds.x * size.width(), (1.0 - bounds.y - bounds.height) * size.height(),
                  bounds.width * size.width(), bounds.height * size.height());
}

TEST(VelmoraSampleImage, IsTheSamePictureOnEveryRender)
{
    test::ReviewHarness look;
    const QImage first = VelmoraSampleImage::render(lightPalette());
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.size(), QSize(1120, 720));
    EXPECT_TRUE(first.hasAlphaChannel());
    EXPECT_EQ(VelmoraSampleImage::render(lightPalette()), first);
    // The window background outside the card, the text background inside it.
    EXPECT_EQ(first.pixelColor(10, 10), lightPalette().color(QPalette::Window));
    EXPECT_EQ(first.pixelColor(60, 360), lightPalette().color(QPalette::Base));
}

TEST(VelmoraSampleImage, TheFindingCoversTheKeyLineInkAndNothingElse)
{
    test::ReviewHarness look;
    const QImage image = VelmoraSampleImage::render(lightPalette());
    const QList<QRect> bands = inkBands(image, lightPalette().color(QPalette::Base));
    ASSERT_EQ(bands.size(), 6);
    const QRectF box = findingPixels();
    const QRect key = bands[3];
    EXPECT_TRUE(box.contains(QRectF(key))) << key.x() << "," << key.y() << " " << key.width() << "x" << key.height();
    EXPECT_GE(key.left(), 96);
    EXPECT_FALSE(box.intersects(QRectF(bands[2])));
    EXPECT_FALSE(box.intersects(QRectF(bands[4])));
    // Each line's text box starts at its stated top, so no ink lies above it.
    const QList<VelmoraSampleImage::Line> lines = VelmoraSampleImage::lines();
    for (qsizetype i = 0; i < lines.size(); ++i)
        EXPECT_GE(bands[i].top(), lines[i].top) << i;
}

TEST(VelmoraSampleImage, TheRealEngineFindsTheKeyTheAddressAndTheAccount)
{
    test::ReviewHarness look;
    const QByteArray png = test::encodedPng(VelmoraSampleImage::render(lightPalette()));
    ASSERT_FALSE(png.isEmpty());
    ScanPipeline pipeline;
    const SensitiveTextDetector detector(CustomDetectionConfiguration{});
    const ScanPipelineResult result =
        pipeline.scan(ImageImporter::importImage(png), detector, DetectorCategoryPreferences{});
    QStringList found;
    for (const RedactionPlanEntry &entry : result.plan.entries())
        found.append(entry.detection.matchedText.value_or(QString()));
    EXPECT_TRUE(found.contains(QString(VelmoraSampleImage::accessKey))) << found.join(u" | ").toStdString();
    EXPECT_TRUE(found.contains(QString(VelmoraSampleImage::emailAddress))) << found.join(u" | ").toStdString();
    EXPECT_TRUE(found.contains(QString(VelmoraSampleImage::accountIdentifier))) << found.join(u" | ").toStdString();
}

TEST(QuickStartSample, TheFindingIsTheSampleKey)
{
    const QList<Detection> detections = quickStartSampleDetections();
    ASSERT_EQ(detections.size(), 1);
    const Detection &sample = detections.front();
    EXPECT_EQ(sample.id, QUuid(QStringLiteral("33333333-4444-5555-6666-777777777777")));
    EXPECT_EQ(sample.label, "Sample secret");
    EXPECT_DOUBLE_EQ(sample.confidence, 0.96);
    EXPECT_EQ(sample.matchedText, QString(VelmoraSampleImage::accessKey));
    EXPECT_EQ(sample.matchedRange, (TextRange{0, 20}));
    EXPECT_EQ(VelmoraSampleImage::accessKey.size(), 20);
    EXPECT_EQ(VelmoraSampleImage::lines()[3].text.size(), 33);
}

} // namespace
