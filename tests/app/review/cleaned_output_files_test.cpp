#include "app/review/cleaned_output_files.h"

#include "core/redaction/redaction_plan.h"
#include "support/detection_fixtures.h"
#include "support/image_bytes.h"
#include "support/metadata_chunks.h"

#include <QImage>

#include <gtest/gtest.h>

namespace velmora {
namespace {

QImage whiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setText(QStringLiteral("Author"), QStringLiteral("someone@example.com"));
    return image;
}

TEST(CleanedImageData, FillsOnlyActiveBoxesAndCarriesNoTextChunks)
{
    // Left half active, right half switched off.
    RedactionPlan plan({test::makeFinding({0, 0, 0.5, 1}), test::makeFinding({0.5, 0, 0.5, 1})}, {}, {});
    plan.setActive(false, plan.entries().at(1).id());
    const QByteArray png = cleanedImageData(whiteImage(40, 20), plan, CleanedImageFormat::png);

    EXPECT_EQ(test::pngMetadataChunks(png).join(','), QString());
    const QImage decoded = QImage::fromData(png, "PNG");
    ASSERT_EQ(decoded.size(), QSize(40, 20));
    const bool leftIsActive = plan.entries().at(0).isActive;
    const QRgb left = decoded.pixel(5, 10), right = decoded.pixel(35, 10);
    EXPECT_EQ(leftIsActive ? left : right, qRgb(0, 0, 0));
    EXPECT_EQ(leftIsActive ? right : left, qRgb(255, 255, 255));
}

TEST(CleanedImageData, JpegHasNoMetadataSegments)
{
    const QByteArray jpeg = cleanedImageData(whiteImage(32, 32), RedactionPlan(), CleanedImageFormat::jpeg);
    const QList<int> markers = test::jpegMarkers(jpeg);
    ASSERT_FALSE(markers.isEmpty());
    EXPECT_EQ(markers.first(), 0xD8);
    for (int marker : markers) {
        EXPECT_FALSE(marker >= 0xE1 && marker <= 0xEF) << "APPn segment " << std::hex << marker;
        EXPECT_NE(marker, 0xFE) << "comment segment";
    }
}

} // namespace
} // namespace velmora
