#include "core/analysis/recognition/image_without_global_pool.h"

#include "support/image_fixtures.h"
#include "support/row_name.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace velmora;
using namespace velmora::testing;

namespace velmora::test {
namespace {

// What Tesseract reads turns on every grey level of a prepared region: scaled without
// Qt's global pool, an image must come out as Qt's own smooth scaling gives it.

int largestDifference(const QImage &a, const QImage &b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
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
    QImage image = renderLines({{TextPiece{QStringLiteral("Quarterly figures: 4821 gjpqy")}}, {TextPiece{QStringLiteral("_ENV=x")}}},
                               QStringLiteral("DejaVu Sans"), 13, QColor(0x1f2328), Qt::white, row.from)
                       .image.convertToFormat(row.format);
    const QSize size(int(std::lround(row.from.width() * row.factor)), int(std::lround(row.from.height() * row.factor)));
    const QImage ours = scaledWithoutGlobalPool(image, size);
    const QImage qts = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(ours.format());
    ASSERT_EQ(ours.size(), size);
    EXPECT_LE(largestDifference(ours, qts), row.tolerance);
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
