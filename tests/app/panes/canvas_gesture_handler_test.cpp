#include "app/panes/canvas_gesture_handler.h"
#include "core/redaction/manual_redaction_edit_history.h"
#include "support/detection_fixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmora;
using velmora::test::makeFinding;
using velmora::test::rectNear;

namespace {

// Records every report of the handler in order, with the plans it was handed.
struct Recorder
{
    std::vector<std::string> events;
    std::vector<std::pair<RedactionPlan, RedactionPlan>> commits;
    int planChangedCount = 0;
    int planWrittenCount = 0;

    CanvasGestureCallbacks callbacks()
    {
        return {
            .planWritten = [this](const RedactionPlan &) { events.push_back("planWritten"); ++planWrittenCount; },
            .selectionWritten = [this](const std::optional<QUuid> &) { events.push_back("selectionWritten"); },
            .manualEditingWritten = [this](bool on) { events.push_back(on ? "manualEditingOn" : "manualEditingOff"); },
            .planChanged = [this] { events.push_back("planChanged"); ++planChangedCount; },
            .manualEditCommitted =
                [this](const RedactionPlan &before, const RedactionPlan &after) {
                    events.push_back("manualEditCommitted");
                    commits.emplace_back(before, after);
                },
        };
    }
};

// An image of 1000 × 500 filling a canvas of the same size: canvas (x, y) is the
// normalised point (x / 1000, 1 − y / 500).
class CanvasGestureHandlerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_handler.setImageSize({1000, 500});
        m_handler.setCanvasSize({1000, 500});
        m_back = makeFinding({0.1, 0.1, 0.4, 0.4});  // lower bottom edge: later in the plan, in front
        m_front = makeFinding({0.3, 0.3, 0.4, 0.4});
        m_handler.setRedactionPlan(RedactionPlan({m_back, m_front}, {}, {}));
    }

    static QPointF canvasPoint(double nx, double ny) { return {nx * 1000, (1 - ny) * 500}; }

    void drag(QPointF from, std::initializer_list<QPointF> through, QPointF to)
    {
        m_handler.grab(from);
        for (const QPointF &point : through)
            m_handler.move(point);
        m_handler.move(to);
        m_handler.release(to);
    }
    void click(QPointF point)
    {
        m_handler.grab(point);
        m_handler.release(point);
    }
    NormRect boundsOf(const QUuid &id) const
    {
        for (const auto &entry : m_handler.redactionPlan().entries()) {
            if (entry.id() == id)
                return entry.detection.normalizedBounds;
        }
        return NormRect::null();
    }

    Recorder m_recorder;
    CanvasGestureHandler m_handler{m_recorder.callbacks()};
    Detection m_back;
    Detection m_front;
};

TEST_F(CanvasGestureHandlerTest, LaterEntriesLieInFront)
{
    // Reading order puts the higher box first, so the lower one is drawn over it.
    ASSERT_EQ(m_handler.redactionPlan().entries().last().id(), m_back.id);
    EXPECT_EQ(m_handler.hitTest(canvasPoint(0.4, 0.4)), (CanvasHit{m_back.id, std::nullopt}));
    EXPECT_EQ(m_handler.hitTest(canvasPoint(0.6, 0.6)), (CanvasHit{m_front.id, std::nullopt}));
    EXPECT_EQ(m_handler.hitTest(canvasPoint(0.9, 0.9)), std::nullopt);
}

TEST_F(CanvasGestureHandlerTest, OnlyTheSelectedBoxHasHandlesAndOnlyOutsideDrawMode)
{
    const QPointF topLeadingOfFront = canvasPoint(0.3, 0.7); // (300, 150), outside the back box
    const QPointF nearIt = topLeadingOfFront + QPointF(-4, -4);
    EXPECT_EQ(m_handler.hitTest(nearIt), std::nullopt);
    m_handler.setSelectedDetectionId(m_front.id);
    EXPECT_EQ(m_handler.hitTest(nearIt), (CanvasHit{m_front.id, ResizeCorner::topLeading}));
    EXPECT_EQ(m_handler.hitTest(topLeadingOfFront + QPointF(0, 8)), (CanvasHit{m_front.id, std::nullopt}));
    m_handler.setManualEditing(true);
    EXPECT_EQ(m_handler.hitTest(nearIt), std::nullopt);
}

TEST_F(CanvasGestureHandlerTest, AClickSelectsTheFrontBox)
{
    click(canvasPoint(0.4, 0.4));
    EXPECT_EQ(m_handler.selectedDetectionId(), m_back.id);
    EXPECT_FALSE(m_handler.isManualEditing());
    EXPECT_EQ(m_recorder.events, (std::vector<std::string>{"selectionWritten", "planChanged"}));
}

TEST_F(CanvasGestureHandlerTest, AMoveUnderTheDragThresholdIsStillAClick)
{
    m_handler.grab(canvasPoint(0.6, 0.6));
    m_handler.move(canvasPoint(0.6, 0.6) + QPointF(1.5, 0));
    m_handler.release(canvasPoint(0.6, 0.6) + QPointF(1.5, 0));
    EXPECT_EQ(m_handler.selectedDetectionId(), m_front.id);
    EXPECT_EQ(m_handler.redactionPlan().entries().first().detection, m_front);
}

TEST_F(CanvasGestureHandlerTest, NoSelectionInDrawOrPreviewMode)
{
    m_handler.setManualEditing(true);
    click(canvasPoint(0.4, 0.4));
    m_handler.setManualEditing(false);
    m_handler.setPreviewingRedactedOutput(true);
    click(canvasPoint(0.4, 0.4));
    EXPECT_EQ(m_handler.selectedDetectionId(), std::nullopt);
    EXPECT_TRUE(m_recorder.events.empty());
}

TEST_F(CanvasGestureHandlerTest, ADragOnAnUnselectedBoxNeitherMovesNorPans)
{
    m_handler.zoomIn();
    const RedactionPlan before = m_handler.redactionPlan();
    const QPointF start = m_handler.viewRect(m_front.normalizedBounds).center();
    drag(start, {start + QPointF(20, 0)}, start + QPointF(60, 30));
    EXPECT_EQ(m_handler.redactionPlan(), before);
    EXPECT_EQ(m_handler.zoom().panOffset(), QPointF());
    EXPECT_TRUE(m_recorder.commits.empty());
}

TEST_F(CanvasGestureHandlerTest, ADragAwayFromTheBoxesPansOnlyWhileZoomedAndNotDrawing)
{
    const QPointF empty = canvasPoint(0.9, 0.9);
    drag(empty, {}, empty + QPointF(-50, 20));
    EXPECT_EQ(m_handler.zoom().panOffset(), QPointF());

    m_handler.zoomIn(); // 1.25: limits 125 × 62.5
    drag(empty, {empty + QPointF(-10, 0)}, empty + QPointF(-50, 20));
    EXPECT_EQ(m_handler.zoom().panOffset(), QPointF(-50, 20));
    EXPECT_FALSE(m_handler.isPanning());

    m_handler.setManualEditing(true);
    drag(empty, {}, empty + QPointF(-40, 0));
    EXPECT_EQ(m_handler.zoom().panOffset(), QPointF(-50, 20));
}

struct DrawRow {
    const char *name;
    bool keepsDrawing;
    std::vector<std::string> events;
};

class DrawTest : public CanvasGestureHandlerTest, public ::testing::WithParamInterface<DrawRow> {};

TEST_P(DrawTest, AddsASelectedManualBox)
{
    const auto &row = GetParam();
    m_handler.setManualEditing(true);
    m_handler.setKeepsManualEditingAfterCommit(row.keepsDrawing);
    const RedactionPlan before = m_handler.redactionPlan();

    m_handler.grab({100, 100});
    m_handler.move({200, 150});
    ASSERT_TRUE(m_handler.draftBounds());
    EXPECT_TRUE(rectNear(*m_handler.draftBounds(), {0.1, 0.7, 0.1, 0.1}));
    m_handler.move({300, 200});
    m_handler.release({300, 200});

    EXPECT_FALSE(m_handler.draftBounds());
    ASSERT_EQ(m_handler.redactionPlan().entries().size(), 3);
    const RedactionPlanEntry &added = m_handler.redactionPlan().entries().first();
    EXPECT_EQ(added.detection.label, QStringLiteral("Manual redaction"));
    EXPECT_EQ(added.detection.reason, QStringLiteral("Added by the user."));
    EXPECT_EQ(added.detection.source, DetectionSource::user);
    EXPECT_TRUE(rectNear(added.detection.normalizedBounds, {0.1, 0.6, 0.2, 0.2}));
    EXPECT_EQ(m_handler.selectedDetectionId(), added.id());
    EXPECT_EQ(m_handler.isManualEditing(), row.keepsDrawing);
    EXPECT_EQ(m_recorder.events, row.events);
    ASSERT_EQ(m_recorder.commits.size(), 1u);
    EXPECT_EQ(m_recorder.commits[0].first, before);
    EXPECT_EQ(m_recorder.commits[0].second, m_handler.redactionPlan());
}

INSTANTIATE_TEST_SUITE_P(Rows, DrawTest, ::testing::Values(
    DrawRow{"leavesDrawMode", false,
            {"planWritten", "selectionWritten", "manualEditingOff", "manualEditCommitted", "planChanged"}},
    DrawRow{"keepsDrawMode", true, {"planWritten", "selectionWritten", "manualEditCommitted", "planChanged"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CanvasGestureHandlerTest, ADrawingStartedOutsideTheImageAddsNothing)
{
    m_handler.setCanvasSize({1200, 500}); // the image sits at x 100 ... 1100
    m_handler.setManualEditing(true);
    m_handler.grab({50, 100});
    m_handler.move({400, 300});
    EXPECT_FALSE(m_handler.draftBounds());
    m_handler.release({400, 300});
    EXPECT_EQ(m_handler.redactionPlan().entries().size(), 2);
    EXPECT_TRUE(m_recorder.events.empty());
    // Nor does one on the image's far edge.
    drag({1100, 100}, {}, {900, 300});
    EXPECT_EQ(m_handler.redactionPlan().entries().size(), 2);
}

TEST_F(CanvasGestureHandlerTest, ADrawingEndingFarOutsideStopsAtTheImageEdge)
{
    m_handler.setManualEditing(true);
    drag({500, 250}, {}, {5000, 5000});
    ASSERT_TRUE(m_handler.selectedDetectionId());
    EXPECT_TRUE(rectNear(boundsOf(*m_handler.selectedDetectionId()), {0.5, 0, 0.5, 0.5}));
}

TEST_F(CanvasGestureHandlerTest, TheSmallestDrawnBoxIsAddedAndASmallerOneIsNot)
{
    m_handler.setImageSize({1000, 1000});
    m_handler.setCanvasSize({1000, 1000});
    m_handler.setManualEditing(true);
    m_handler.setKeepsManualEditingAfterCommit(true);
    drag({500, 500}, {}, {501, 540}); // 0.001 wide
    EXPECT_EQ(m_handler.redactionPlan().entries().size(), 2);
    EXPECT_FALSE(m_handler.draftBounds());
    EXPECT_TRUE(m_recorder.events.empty());
    drag({500, 500}, {}, {502, 502}); // 0.002 × 0.002
    EXPECT_EQ(m_handler.redactionPlan().entries().size(), 3);
}

TEST_F(CanvasGestureHandlerTest, AMoveReportsEveryStepAndCommitsOnce)
{
    click(canvasPoint(0.6, 0.6));
    const RedactionPlan atPress = m_handler.redactionPlan();
    m_recorder = {};
    const QPointF start = canvasPoint(0.6, 0.6);
    drag(start, {start + QPointF(10, 0), start + QPointF(50, 0), start + QPointF(100, 0)}, start + QPointF(100, 50));

    EXPECT_TRUE(rectNear(boundsOf(m_front.id), {0.4, 0.2, 0.4, 0.4}, 1e-9));
    EXPECT_EQ(m_recorder.planWrittenCount, 4);
    EXPECT_EQ(m_recorder.planChangedCount, 5); // four steps and the end
    ASSERT_EQ(m_recorder.commits.size(), 1u);
    EXPECT_EQ(m_recorder.commits[0].first, atPress);
    EXPECT_EQ(m_recorder.commits[0].second, m_handler.redactionPlan());
    EXPECT_EQ(m_recorder.events.back(), "planChanged");
    EXPECT_FALSE(m_handler.isEditingBounds());

    // The detected finding became an adjusted one, its first box kept.
    const Detection &moved = m_handler.redactionPlan().entries().first().detection;
    EXPECT_EQ(moved.source, DetectionSource::user);
    EXPECT_EQ(moved.originalNormalizedBounds, m_front.normalizedBounds);
    EXPECT_EQ(m_handler.selectedDetectionId(), m_front.id);
}

TEST_F(CanvasGestureHandlerTest, MovingFollowsReadingOrderAndKeepsTheSelection)
{
    click(canvasPoint(0.6, 0.6));
    const QPointF start = canvasPoint(0.6, 0.6);
    drag(start, {}, start + QPointF(0, 200)); // 0.4 lower: below the other box
    EXPECT_EQ(m_handler.redactionPlan().entries().last().id(), m_front.id);
    EXPECT_EQ(m_handler.selectedDetectionId(), m_front.id);
}

TEST_F(CanvasGestureHandlerTest, AMoveAgainstTheBorderKeepsTheSize)
{
    click(canvasPoint(0.6, 0.6));
    const QPointF start = canvasPoint(0.6, 0.6);
    drag(start, {}, start + QPointF(4000, -4000));
    EXPECT_TRUE(rectNear(boundsOf(m_front.id), {0.6, 0.6, 0.4, 0.4}, 1e-9));
}

TEST_F(CanvasGestureHandlerTest, AHandleResizesPastTheOppositeCornerToTheSmallestBox)
{
    click(canvasPoint(0.6, 0.6));
    const QPointF bottomTrailing = canvasPoint(0.7, 0.3);
    ASSERT_EQ(m_handler.hitTest(bottomTrailing), (CanvasHit{m_front.id, ResizeCorner::bottomTrailing}));
    m_recorder = {};
    drag(bottomTrailing, {bottomTrailing + QPointF(-1, 0)}, bottomTrailing + QPointF(-900, -400));
    EXPECT_TRUE(rectNear(boundsOf(m_front.id), {0.3, 0.698, 0.002, 0.002}, 1e-9));
    EXPECT_EQ(m_recorder.commits.size(), 1u);
}

TEST_F(CanvasGestureHandlerTest, AHandleDragOfOnePointResizes)
{
    click(canvasPoint(0.6, 0.6));
    const QPointF topTrailing = canvasPoint(0.7, 0.7);
    drag(topTrailing, {}, topTrailing + QPointF(1, 0));
    EXPECT_TRUE(rectNear(boundsOf(m_front.id), {0.3, 0.3, 0.401, 0.4}, 1e-9));
}

TEST_F(CanvasGestureHandlerTest, AnEditThatChangedNothingRecordsNoHistoryStep)
{
    // A detected box barely inside the right border: no resize of it is acceptable.
    Detection sliver = makeFinding({0.999, 0.4, 0.0008, 0.1});
    m_handler.setRedactionPlan(RedactionPlan({sliver}, {}, {}));
    m_handler.setSelectedDetectionId(sliver.id);
    const RedactionPlan before = m_handler.redactionPlan();
    const QPointF corner = canvasPoint(0.9998, 0.4);
    ASSERT_EQ(m_handler.hitTest(corner), (CanvasHit{sliver.id, ResizeCorner::bottomTrailing}));
    drag(corner, {corner + QPointF(3, 0)}, corner + QPointF(30, 0));

    EXPECT_EQ(m_handler.redactionPlan(), before);
    EXPECT_EQ(m_recorder.planWrittenCount, 0);
    EXPECT_EQ(m_recorder.planChangedCount, 1);
    ASSERT_EQ(m_recorder.commits.size(), 1u);
    ManualRedactionEditHistory history;
    EXPECT_FALSE(history.record(m_recorder.commits[0].first, m_recorder.commits[0].second));
    EXPECT_FALSE(history.canUndo());
}

TEST_F(CanvasGestureHandlerTest, PreviewShowsNoBoxesAndStillPans)
{
    m_handler.setPreviewingRedactedOutput(true);
    m_handler.setManualEditing(true);
    drag({100, 100}, {}, {300, 200});
    EXPECT_FALSE(m_handler.draftBounds());
    EXPECT_EQ(m_handler.redactionPlan().entries().size(), 2);

    m_handler.setManualEditing(false);
    m_handler.zoomIn();
    const QPointF onABox = canvasPoint(0.6, 0.6);
    drag(onABox, {}, onABox + QPointF(30, 0));
    EXPECT_EQ(m_handler.zoom().panOffset(), QPointF(30, 0));
    EXPECT_FALSE(m_handler.boxesShown());
}

TEST_F(CanvasGestureHandlerTest, HoverFollowsThePointerOverBoxesThatTakeHits)
{
    m_handler.hoverAt(canvasPoint(0.4, 0.4));
    EXPECT_EQ(m_handler.hoveredDetectionId(), m_back.id);
    EXPECT_TRUE(m_handler.showsBadge(m_back.id));
    EXPECT_FALSE(m_handler.showsBadge(m_front.id));
    m_handler.hoverAt(canvasPoint(0.6, 0.6));
    EXPECT_EQ(m_handler.hoveredDetectionId(), m_front.id);
    m_handler.hoverAt(canvasPoint(0.9, 0.9));
    EXPECT_EQ(m_handler.hoveredDetectionId(), std::nullopt);
    m_handler.hoverAt(canvasPoint(0.6, 0.6));
    m_handler.hoverAt(std::nullopt);
    EXPECT_EQ(m_handler.hoveredDetectionId(), std::nullopt);
    m_handler.setManualEditing(true);
    m_handler.hoverAt(canvasPoint(0.6, 0.6));
    EXPECT_EQ(m_handler.hoveredDetectionId(), std::nullopt);
}

TEST_F(CanvasGestureHandlerTest, FocusZoomsOntoTheSelectedEntryOnly)
{
    m_handler.setSelectedDetectionId(QUuid::createUuid());
    m_handler.focusSelectedDetection();
    EXPECT_EQ(m_handler.zoom(), CanvasZoom());
    m_handler.setSelectedDetectionId(std::nullopt);
    m_handler.focusSelectedDetection();
    EXPECT_EQ(m_handler.zoom(), CanvasZoom());
    m_handler.setSelectedDetectionId(m_front.id);
    m_handler.focusSelectedDetection();
    EXPECT_DOUBLE_EQ(m_handler.zoom().zoomScale(), 1.6);
}

TEST_F(CanvasGestureHandlerTest, OnlyANewImageSizeResetsTheZoom)
{
    m_handler.zoomIn();
    EXPECT_FALSE(m_handler.setImageSize({1000, 500}));
    EXPECT_DOUBLE_EQ(m_handler.zoom().zoomScale(), 1.25);
    EXPECT_TRUE(m_handler.setImageSize({800, 500}));
    EXPECT_EQ(m_handler.zoom(), CanvasZoom());
}

struct EmptyRow {
    const char *name;
    QSizeF image;
    QSizeF canvas;
};

class EmptyLayoutTest : public ::testing::TestWithParam<EmptyRow> {};

TEST_P(EmptyLayoutTest, ShowsNothingAndEditsNothing)
{
    const auto &row = GetParam();
    Recorder recorder;
    CanvasGestureHandler handler(recorder.callbacks());
    const Detection box = makeFinding({0.2, 0.2, 0.5, 0.5});
    handler.setRedactionPlan(RedactionPlan({box}, {}, {}));
    handler.setImageSize(row.image);
    handler.setCanvasSize(row.canvas);
    EXPECT_EQ(handler.fitRect(), QRectF());
    EXPECT_TRUE(handler.displayedImageRect().isEmpty());
    EXPECT_EQ(handler.viewRect(box.normalizedBounds), QRectF());

    handler.setManualEditing(true);
    handler.grab({0, 0});
    handler.move({100, 100});
    handler.release({100, 100});
    EXPECT_EQ(handler.redactionPlan().entries().size(), 1);

    handler.setManualEditing(false);
    handler.setSelectedDetectionId(box.id);
    handler.focusSelectedDetection();
    EXPECT_EQ(handler.zoom(), CanvasZoom());
    EXPECT_EQ(recorder.planWrittenCount, 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, EmptyLayoutTest, ::testing::Values(
    EmptyRow{"zeroImageWidth", {0, 500}, {800, 600}},
    EmptyRow{"negativeImageHeight", {400, -5}, {800, 600}},
    EmptyRow{"zeroCanvasHeight", {400, 300}, {800, 0}},
    EmptyRow{"nothingAtAll", {0, 0}, {0, 0}}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
