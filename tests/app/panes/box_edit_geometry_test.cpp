#include "app/panes/box_edit_geometry.h"
#include "app/panes/canvas_coordinates.h"
#include "core/redaction/redaction_plan.h"
#include "support/detection_fixtures.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::rectNear;

namespace {

// A displayed image of 1000 × 500 at the canvas origin: dx = tx / 1000, dy = −ty / 500.
const QRectF kDisplayed(0, 0, 1000, 500);
const NormRect kStart(0.4, 0.4, 0.2, 0.2);

struct ResizeRow {
    const char *name;
    NormRect start;
    ResizeCorner corner;
    QPointF translation;
    NormRect expected;
    bool acceptedByPlan;
};

class ResizeTest : public ::testing::TestWithParam<ResizeRow> {};

TEST_P(ResizeTest, MovesTheCornersEdges)
{
    const auto &row = GetParam();
    const NormRect resized = BoxEditGeometry::resizedBounds(row.start, row.translation, row.corner, kDisplayed);
    EXPECT_TRUE(rectNear(resized, row.expected, 1e-9));
    EXPECT_EQ(RedactionPlan::sanitizedManualBounds(resized).has_value(), row.acceptedByPlan);
}

INSTANTIATE_TEST_SUITE_P(Rows, ResizeTest, ::testing::Values(
    ResizeRow{"topLeadingGrows", kStart, ResizeCorner::topLeading, {-100, -50}, {0.3, 0.4, 0.3, 0.3}, true},
    ResizeRow{"topTrailingGrows", kStart, ResizeCorner::topTrailing, {100, -50}, {0.4, 0.4, 0.3, 0.3}, true},
    ResizeRow{"bottomLeadingGrows", kStart, ResizeCorner::bottomLeading, {-100, 50}, {0.3, 0.3, 0.3, 0.3}, true},
    ResizeRow{"bottomTrailingGrows", kStart, ResizeCorner::bottomTrailing, {100, 50}, {0.4, 0.3, 0.3, 0.3}, true},
    ResizeRow{"topLeadingShrinks", kStart, ResizeCorner::topLeading, {50, 25}, {0.45, 0.4, 0.15, 0.15}, true},
    // Past the opposite corner: the smallest box at the fixed corner.
    ResizeRow{"bottomTrailingCrossesTopLeading", kStart, ResizeCorner::bottomTrailing, {-400, -200},
              {0.4, 0.598, 0.002, 0.002}, true},
    ResizeRow{"topLeadingCrossesBottomTrailing", kStart, ResizeCorner::topLeading, {400, 200},
              {0.598, 0.4, 0.002, 0.002}, true},
    ResizeRow{"topTrailingCrossesBottomLeading", kStart, ResizeCorner::topTrailing, {-400, 200},
              {0.4, 0.4, 0.002, 0.002}, true},
    ResizeRow{"bottomLeadingCrossesTopTrailing", kStart, ResizeCorner::bottomLeading, {400, -200},
              {0.598, 0.598, 0.002, 0.002}, true},
    ResizeRow{"edgesStopAtTheImageBorder", kStart, ResizeCorner::topTrailing, {5000, -5000}, {0.4, 0.4, 0.6, 0.6}, true},
    ResizeRow{"leadingEdgesStopAtZero", kStart, ResizeCorner::bottomLeading, {-5000, 5000}, {0, 0, 0.6, 0.6}, true},
    // A finding barely inside the right border: its fixed left edge leaves no room for the
    // smallest box, so the plan refuses the result and the box keeps its last bounds.
    ResizeRow{"fixedEdgeAtTheBorderLeavesNoRoom", {0.999, 0.4, 0.0008, 0.1}, ResizeCorner::bottomTrailing,
              {5000, 0}, {0.999, 0.4, 0.001, 0.1}, false},
    ResizeRow{"fixedEdgeAtZeroLeavesNoRoom", {0, 0.4, 0.0008, 0.1}, ResizeCorner::topLeading, {300, 0},
              {0, 0.4, 0.0008, 0.1}, false},
    ResizeRow{"negativeStartIsStandardised", {0.6, 0.6, -0.2, -0.2}, ResizeCorner::bottomTrailing, {100, 50},
              {0.4, 0.3, 0.3, 0.3}, true}),
    [](const auto &info) { return std::string(info.param.name); });

// Edge arithmetic can land a rounding step short of the smallest span, which the plan
// would refuse although the user dragged to exactly that size.
TEST(ResizeTest, TheSmallestBoxIsNeverRefusedByRounding)
{
    int checked = 0;
    for (double x = 0.0013; x < 0.99; x += 0.0173) {
        for (double y = 0.0029; y < 0.99; y += 0.0311) {
            const NormRect start(x, y, 0.004, 0.004);
            for (const ResizeCorner corner : allCases<ResizeCorner>()) {
                // Far past the opposite corner on both axes.
                const double sx = corner == ResizeCorner::topLeading || corner == ResizeCorner::bottomLeading ? 1 : -1;
                const double sy = corner == ResizeCorner::bottomLeading || corner == ResizeCorner::bottomTrailing ? -1 : 1;
                const NormRect resized = BoxEditGeometry::resizedBounds(start, {sx * 30, sy * 15}, corner, kDisplayed);
                const auto accepted = RedactionPlan::sanitizedManualBounds(resized);
                ASSERT_TRUE(accepted) << "x " << x << " y " << y << " corner " << qPrintable(rawValue(corner));
                EXPECT_NEAR(accepted->width, 0.002, 1e-12);
                EXPECT_NEAR(accepted->height, 0.002, 1e-12);
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 1000);
}

struct MoveRow {
    const char *name;
    NormRect start;
    QPointF translation;
    NormRect expected;
};

class MoveTest : public ::testing::TestWithParam<MoveRow> {};

TEST_P(MoveTest, KeepsTheBoxWholeInsideTheImage)
{
    const auto &row = GetParam();
    EXPECT_TRUE(rectNear(BoxEditGeometry::movedBounds(row.start, row.translation, kDisplayed), row.expected, 1e-9));
}

INSTANTIATE_TEST_SUITE_P(Rows, MoveTest, ::testing::Values(
    MoveRow{"followsThePointerDownIsLower", kStart, {100, 50}, {0.5, 0.3, 0.2, 0.2}},
    MoveRow{"stopsAtTheRightEdgeKeepingItsSize", kStart, {5000, 0}, {0.8, 0.4, 0.2, 0.2}},
    MoveRow{"stopsAtTheBottomEdgeKeepingItsSize", kStart, {0, 5000}, {0.4, 0, 0.2, 0.2}},
    MoveRow{"stopsInTheTopLeftCorner", kStart, {-5000, -5000}, {0, 0.8, 0.2, 0.2}},
    MoveRow{"largerThanTheImageIsCut", {-0.2, -0.1, 1.5, 1.3}, {10, 10}, {0, 0, 1, 1}},
    MoveRow{"negativeSizeIsStandardised", {0.6, 0.6, -0.2, -0.2}, {0, 0}, {0.4, 0.4, 0.2, 0.2}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(DraftBoundsTest, SpansBothEndsClampedIntoTheImage)
{
    const QRectF displayed(100, 50, 800, 400);
    EXPECT_TRUE(rectNear(BoxEditGeometry::draftBounds({300, 150}, {500, 250}, displayed), {0.25, 0.5, 0.25, 0.25}));
    // Dragged up and to the left: the same box.
    EXPECT_TRUE(rectNear(BoxEditGeometry::draftBounds({500, 250}, {300, 150}, displayed), {0.25, 0.5, 0.25, 0.25}));
    // Ending far outside stops at the image's edge.
    EXPECT_TRUE(rectNear(BoxEditGeometry::draftBounds({300, 150}, {5000, 5000}, displayed), {0.25, 0, 0.75, 0.75}));
}

TEST(CanvasCoordinatesTest, ConvertsBetweenCanvasAndImage)
{
    const QRectF displayed(100, 50, 800, 400);
    EXPECT_EQ(CanvasCoordinates::mapToImage({100, 50}, displayed), QPointF(0, 1));
    EXPECT_EQ(CanvasCoordinates::mapToImage({900, 450}, displayed), QPointF(1, 0));
    EXPECT_EQ(CanvasCoordinates::mapToImage({-40, 9000}, displayed), QPointF(0, 0));
    EXPECT_EQ(CanvasCoordinates::mapToImage({300, 150}, QRectF(100, 50, 0, 400)), QPointF(0, 0));
    EXPECT_EQ(CanvasCoordinates::mapTranslationToImage({80, 40}, displayed), QPointF(0.1, -0.1));
    EXPECT_EQ(CanvasCoordinates::mapToView({0.25, 0.5, 0.25, 0.25}, QSizeF(1600, 800), displayed),
              QRectF(300, 150, 200, 100));
    EXPECT_EQ(CanvasCoordinates::mapToView({0.25, 0.5, 0.25, 0.25}, QSizeF(0, 800), displayed), QRectF());
}

struct StartRow {
    const char *name;
    QPointF point;
    bool onImage;
};

class StartsOnImageTest : public ::testing::TestWithParam<StartRow> {};

TEST_P(StartsOnImageTest, FarEdgesAreOutside)
{
    const auto &row = GetParam();
    EXPECT_EQ(CanvasCoordinates::startsOnImage(row.point, QRectF(100, 50, 800, 400)), row.onImage);
}

INSTANTIATE_TEST_SUITE_P(Rows, StartsOnImageTest, ::testing::Values(
    StartRow{"topLeftCorner", {100, 50}, true},
    StartRow{"inside", {500, 200}, true},
    StartRow{"justInsideTheFarCorner", {899.9, 449.9}, true},
    StartRow{"rightEdge", {900, 200}, false},
    StartRow{"bottomEdge", {500, 450}, false},
    StartRow{"leftMargin", {99.9, 200}, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CanvasCoordinatesTest, NothingStartsOnAnEmptyImage)
{
    EXPECT_FALSE(CanvasCoordinates::startsOnImage({0, 0}, QRectF()));
}

TEST(HandleCentreTest, SitsOnTheBoxCorners)
{
    const QRectF box(10, 20, 100, 50);
    EXPECT_EQ(BoxEditGeometry::handleCentre(ResizeCorner::topLeading, box), QPointF(10, 20));
    EXPECT_EQ(BoxEditGeometry::handleCentre(ResizeCorner::topTrailing, box), QPointF(110, 20));
    EXPECT_EQ(BoxEditGeometry::handleCentre(ResizeCorner::bottomLeading, box), QPointF(10, 70));
    EXPECT_EQ(BoxEditGeometry::handleCentre(ResizeCorner::bottomTrailing, box), QPointF(110, 70));
}

} // namespace
