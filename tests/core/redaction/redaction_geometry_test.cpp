#include "core/redaction/redaction_geometry.h"

#include "support/detection_fixtures.h"

#include <gtest/gtest.h>

#include <limits>

using namespace velmora;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void expectRectNear(const QRectF &actual, const QRectF &expected)
{
    EXPECT_NEAR(actual.x(), expected.x(), 1e-9);
    EXPECT_NEAR(actual.y(), expected.y(), 1e-9);
    EXPECT_NEAR(actual.width(), expected.width(), 1e-9);
    EXPECT_NEAR(actual.height(), expected.height(), 1e-9);
}

struct FitRow {
    const char *name;
    QSizeF image;
    QSizeF available;
    QRectF expected;
};

class AspectFitTest : public ::testing::TestWithParam<FitRow> {};

TEST_P(AspectFitTest, CentresTheImageAtTheLargestScale)
{
    const auto &row = GetParam();
    const QRectF fitted = RedactionGeometry::aspectFitRect(row.image, row.available);
    expectRectNear(fitted, row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, AspectFitTest, ::testing::Values(
    FitRow{"wideIntoSquare", {200, 100}, {100, 100}, {0, 25, 100, 50}},
    FitRow{"wideIntoWider", {200, 100}, {400, 100}, {100, 0, 200, 100}},
    FitRow{"exact", {640, 480}, {640, 480}, {0, 0, 640, 480}},
    FitRow{"zeroImageWidth", {0, 100}, {100, 100}, {0, 0, 0, 0}},
    FitRow{"negativeImageHeight", {100, -5}, {100, 100}, {0, 0, 0, 0}},
    FitRow{"zeroAvailableHeight", {100, 100}, {100, 0}, {0, 0, 0, 0}},
    FitRow{"negativeAvailableWidth", {100, 100}, {-1, 100}, {0, 0, 0, 0}},
    FitRow{"notANumber", {kNaN, 100}, {100, 100}, {0, 0, 0, 0}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(RedactionGeometryTest, TopOfTheNormalisedSpaceLandsAtTheTopOfTheFrame)
{
    const QRectF view = RedactionGeometry::viewRect({0, 0.75, 0.5, 0.25}, {200, 100}, {10, 20, 400, 200});
    expectRectNear(view, {10, 20, 200, 50});
}

TEST(RedactionGeometryTest, ZeroWidthFrameGivesTheZeroRectangle)
{
    EXPECT_EQ(RedactionGeometry::viewRect({0.1, 0.1, 0.2, 0.2}, {200, 100}, {10, 20, 0, 200}), QRectF());
    EXPECT_EQ(RedactionGeometry::normalizedRect({10, 20, 30, 40}, {200, 100}, {10, 20, 0, 200}), NormRect());
    EXPECT_EQ(RedactionGeometry::viewRect({0.1, 0.1, 0.2, 0.2}, {0, 100}, {10, 20, 100, 200}), QRectF());
    EXPECT_EQ(RedactionGeometry::normalizedRect({10, 20, 30, 40}, {200, kNaN}, {10, 20, 100, 200}), NormRect());
}

struct RoundTripRow {
    const char *name;
    NormRect normalized;
    QSizeF image;
    QRectF frame;
};

class GeometryRoundTripTest : public ::testing::TestWithParam<RoundTripRow> {};

TEST_P(GeometryRoundTripTest, NormalizedRectInvertsViewRect)
{
    const auto &row = GetParam();
    const QRectF view = RedactionGeometry::viewRect(row.normalized, row.image, row.frame);
    const NormRect back = RedactionGeometry::normalizedRect(view, row.image, row.frame);
    EXPECT_TRUE(velmora::test::rectNear(back, row.normalized));
}

INSTANTIATE_TEST_SUITE_P(Rows, GeometryRoundTripTest, ::testing::Values(
    RoundTripRow{"identityFrame", {0.1, 0.2, 0.3, 0.4}, {200, 100}, {0, 0, 200, 100}},
    RoundTripRow{"offsetAndScaled", {0.1, 0.2, 0.3, 0.4}, {1920, 1080}, {37.5, -12.25, 613, 291.5}},
    RoundTripRow{"zoomedPastTheView", {0.6, 0.05, 0.35, 0.9}, {800, 600}, {-420, -310, 2400, 1800}},
    RoundTripRow{"anamorphicFrame", {0, 0.75, 0.5, 0.25}, {200, 100}, {10, 20, 333, 77}},
    RoundTripRow{"outsideTheImage", {-0.2, 0.9, 0.5, 0.4}, {640, 480}, {5, 5, 320, 240}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(RedactionGeometryTest, DraggedBackwardsGivesAStandardisedRectangle)
{
    const QRectF frame{10, 20, 400, 200};
    // Dragged from the bottom right to the top left: (210, 70) back to (10, 20).
    const NormRect fromBackwards = RedactionGeometry::normalizedRect({210, 70, -200, -50}, {200, 100}, frame);
    EXPECT_TRUE(velmora::test::rectNear(fromBackwards, {0, 0.75, 0.5, 0.25}));
}

TEST(RedactionGeometryTest, NormalizedRectIsNotClamped)
{
    const NormRect past = RedactionGeometry::normalizedRect({0, 0, 300, 150}, {200, 100}, {50, 50, 200, 100});
    EXPECT_LT(past.x, 0);
    EXPECT_GT(past.maxY(), 1);
}

} // namespace
