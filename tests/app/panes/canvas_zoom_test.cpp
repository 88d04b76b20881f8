#include "app/panes/canvas_zoom.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace velmora;

namespace {

const QRectF kFit(100, 50, 800, 400);

TEST(CanvasZoomTest, StartsAtFitWithoutPan)
{
    const CanvasZoom zoom;
    EXPECT_EQ(zoom.zoomScale(), 1.0);
    EXPECT_EQ(zoom.panOffset(), QPointF());
    EXPECT_FALSE(zoom.panStartOffset());
    EXPECT_FALSE(zoom.canZoomOut());
    EXPECT_TRUE(zoom.canZoomIn());
    EXPECT_EQ(zoom.zoomPercentText(), QStringLiteral("100%"));
    EXPECT_EQ(zoom.displayedImageRect(kFit), kFit);
}

TEST(CanvasZoomTest, ZoomingInStepsUpToExactlyFour)
{
    CanvasZoom zoom;
    std::vector<int> labels{zoom.zoomPercent()};
    for (int press = 0; press < 7; ++press) {
        ASSERT_TRUE(zoom.canZoomIn());
        zoom.zoomIn(kFit);
        labels.push_back(zoom.zoomPercent());
    }
    EXPECT_EQ(labels, (std::vector<int>{100, 125, 156, 195, 244, 305, 381, 400}));
    EXPECT_EQ(zoom.zoomScale(), 4.0);
    EXPECT_FALSE(zoom.canZoomIn());
    zoom.zoomIn(kFit);
    EXPECT_EQ(zoom.zoomScale(), 4.0);
}

TEST(CanvasZoomTest, ZoomingOutFromFourStepsDownToExactlyOne)
{
    CanvasZoom zoom;
    zoom.setZoomScale(4.0, kFit);
    std::vector<int> labels{zoom.zoomPercent()};
    for (int press = 0; press < 7; ++press) {
        ASSERT_TRUE(zoom.canZoomOut());
        zoom.zoomOut(kFit);
        labels.push_back(zoom.zoomPercent());
    }
    EXPECT_EQ(labels, (std::vector<int>{400, 320, 256, 205, 164, 131, 105, 100}));
    EXPECT_EQ(zoom.zoomScale(), 1.0);
    EXPECT_FALSE(zoom.canZoomOut());
}

TEST(CanvasZoomTest, PercentTextsRoundHalvesAwayFromZero)
{
    CanvasZoom zoom;
    zoom.setZoomScale(1.5625, kFit);
    EXPECT_EQ(zoom.zoomPercentText(), QStringLiteral("156%"));
    EXPECT_EQ(zoom.zoomAccessibilityValue(), QStringLiteral("156 percent"));
    zoom.setZoomScale(1.125, kFit); // exactly 112.5
    EXPECT_EQ(zoom.zoomPercent(), 113);
}

TEST(CanvasZoomTest, ScalesOutsideTheLimitsAreClamped)
{
    CanvasZoom zoom;
    zoom.setZoomScale(9, kFit);
    EXPECT_EQ(zoom.zoomScale(), 4.0);
    zoom.setZoomAndPan(0.2, QPointF(50, 50), kFit);
    EXPECT_EQ(zoom.zoomScale(), 1.0);
    EXPECT_EQ(zoom.panOffset(), QPointF());
    zoom.setZoomScale(std::numeric_limits<double>::quiet_NaN(), kFit);
    EXPECT_EQ(zoom.zoomScale(), 1.0);
}

struct PanClampRow {
    const char *name;
    QPointF offset;
    double scale;
    QPointF expected;
};

class PanClampTest : public ::testing::TestWithParam<PanClampRow> {};

TEST_P(PanClampTest, KeepsTheZoomedImageOverItsFitRectangle)
{
    const auto &row = GetParam();
    EXPECT_EQ(CanvasZoom::clampedPanOffset(row.offset, kFit, row.scale), row.expected);
}

// At scale 2 the limits are 800 × 1 × 0.5 = 400 and 400 × 1 × 0.5 = 200.
INSTANTIATE_TEST_SUITE_P(Rows, PanClampTest, ::testing::Values(
    PanClampRow{"scaleOneIsAlwaysCentred", {300, -80}, 1.0, {0, 0}},
    PanClampRow{"scaleBelowOneIsCentred", {300, -80}, 0.5, {0, 0}},
    PanClampRow{"withinTheLimit", {120, -80}, 2.0, {120, -80}},
    PanClampRow{"pastBothPositiveLimits", {900, 900}, 2.0, {400, 200}},
    PanClampRow{"pastBothNegativeLimits", {-900, -900}, 2.0, {-400, -200}},
    PanClampRow{"eachAxisOnItsOwn", {-900, 30}, 2.0, {-400, 30}},
    PanClampRow{"limitsGrowWithScale", {900, 900}, 4.0, {900, 600}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CanvasZoomTest, EmptyFitRectangleAllowsNoPan)
{
    EXPECT_EQ(CanvasZoom::clampedPanOffset({40, 40}, QRectF(), 3.0), QPointF());
    CanvasZoom zoom;
    zoom.setZoomScale(2, QRectF());
    zoom.panChanged({50, 50}, QRectF());
    EXPECT_EQ(zoom.panOffset(), QPointF());
    EXPECT_EQ(zoom.displayedImageRect(QRectF()), QRectF());
}

TEST(CanvasZoomTest, ZoomingOutPullsAnOffCentreViewBack)
{
    CanvasZoom zoom;
    zoom.setZoomAndPan(2, {400, -200}, kFit);
    zoom.zoomOut(kFit); // 1.6: limits 0.3 × the fit size
    EXPECT_DOUBLE_EQ(zoom.zoomScale(), 1.6);
    EXPECT_LE(std::abs(zoom.panOffset().x()), 0.3 * kFit.width() + 1e-9);
    EXPECT_LE(std::abs(zoom.panOffset().y()), 0.3 * kFit.height() + 1e-9);
    zoom.setZoomScale(1, kFit);
    EXPECT_EQ(zoom.panOffset(), QPointF());
}

TEST(CanvasZoomTest, PanDragStopsAtTheLimitAndFollowsTheTotalTranslation)
{
    CanvasZoom zoom;
    zoom.setZoomScale(2, kFit);
    zoom.panChanged({150, 0}, kFit);
    EXPECT_EQ(zoom.panStartOffset(), QPointF());
    EXPECT_EQ(zoom.panOffset(), QPointF(150, 0));
    zoom.panChanged({5000, 5000}, kFit);
    EXPECT_EQ(zoom.panOffset(), QPointF(400, 200));
    // The zoomed image's left edge sits on the fit rectangle's left edge.
    EXPECT_DOUBLE_EQ(zoom.displayedImageRect(kFit).left(), kFit.left());
    // Coming back moves the image only once the pointer passes where the limit was reached.
    zoom.panChanged({450, 0}, kFit);
    EXPECT_EQ(zoom.panOffset(), QPointF(400, 0));
    zoom.panChanged({350, 0}, kFit);
    EXPECT_EQ(zoom.panOffset(), QPointF(350, 0));
    zoom.panEnded(kFit);
    EXPECT_EQ(zoom.panOffset(), QPointF(350, 0));
    EXPECT_FALSE(zoom.panStartOffset());
    // A second drag starts from where the first ended.
    zoom.panChanged({-50, 0}, kFit);
    EXPECT_EQ(zoom.panOffset(), QPointF(300, 0));
}

TEST(CanvasZoomTest, DisplayedRectangleUsesThePanClampedForTheCurrentFit)
{
    CanvasZoom zoom;
    zoom.setZoomAndPan(2, {400, 200}, kFit);
    EXPECT_EQ(zoom.displayedImageRect(kFit), QRectF(100, 50, 1600, 800));
    // The canvas shrank: the stored pan stays until the next step, the picture does not gap.
    const QRectF smaller(100, 50, 400, 200);
    EXPECT_EQ(zoom.displayedImageRect(smaller), QRectF(100, 50, 800, 400));
    EXPECT_EQ(zoom.panOffset(), QPointF(400, 200));
    zoom.zoomIn(smaller);
    EXPECT_EQ(zoom.panOffset(), QPointF(300, 150));
}

struct FocusRow {
    const char *name;
    double startScale;
    NormRect box;
    double expectedScale;
    QPointF expectedPan;
};

class FocusTest : public ::testing::TestWithParam<FocusRow> {};

TEST_P(FocusTest, ZoomsOntoTheBox)
{
    const auto &row = GetParam();
    CanvasZoom zoom;
    zoom.setZoomScale(row.startScale, kFit);
    zoom.focus(row.box, kFit);
    EXPECT_DOUBLE_EQ(zoom.zoomScale(), row.expectedScale);
    EXPECT_NEAR(zoom.panOffset().x(), row.expectedPan.x(), 1e-9);
    EXPECT_NEAR(zoom.panOffset().y(), row.expectedPan.y(), 1e-9);
    EXPECT_FALSE(zoom.panStartOffset());
}

INSTANTIATE_TEST_SUITE_P(Rows, FocusTest, ::testing::Values(
    FocusRow{"centredBoxAtFit", 1.0, {0.4, 0.4, 0.2, 0.2}, 1.6, {0, 0}},
    // The top-left corner: as far as the limit, 0.3 × the fit size.
    FocusRow{"topLeftBoxStopsAtTheLimit", 1.0, {0, 0.9, 0.1, 0.1}, 1.6, {0.3 * 800, 0.3 * 400}},
    FocusRow{"bottomRightBox", 1.0, {0.9, 0, 0.1, 0.1}, 1.6, {-0.3 * 800, -0.3 * 400}},
    FocusRow{"zoomedFurtherKeepsItsScale", 3.0, {0.25, 0.5, 0.1, 0.1}, 3.0, {(0.5 - 0.3) * 800 * 3, (0.55 - 0.5) * 400 * 3}},
    FocusRow{"negativeSizeIsStandardised", 1.0, {0.6, 0.6, -0.2, -0.2}, 1.6, {0, 0}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CanvasZoomTest, FocusOnAnEmptyFitDoesNothing)
{
    CanvasZoom zoom;
    zoom.focus({0, 0.9, 0.1, 0.1}, QRectF(10, 10, 0, 300));
    EXPECT_EQ(zoom, CanvasZoom());
}

TEST(CanvasZoomTest, ResetReturnsToTheStart)
{
    CanvasZoom zoom;
    zoom.setZoomScale(3, kFit);
    zoom.panChanged({100, 100}, kFit);
    zoom.resetZoom();
    EXPECT_EQ(zoom, CanvasZoom());
}

} // namespace
