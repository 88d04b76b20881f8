#include "app/panes/canvas_gesture_handler.h"
#include "support/detection_fixtures.h"
#include "support/row_name.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace velmora;
using velmora::test::makeFinding;
using velmora::test::rectNear;

namespace {

// Records every intent of the handler in order, with what it carried.
struct Recorder
{
    std::vector<std::string> events;
    std::vector<QUuid> selected;
    std::vector<NormRect> added;
    std::vector<std::pair<QUuid, NormRect>> moves;

    CanvasGestureIntents intents()
    {
        return {
            .boxSelected = [this](const QUuid &id) { events.push_back("boxSelected"); selected.push_back(id); },
            .boxAdded = [this](const NormRect &bounds) { events.push_back("boxAdded"); added.push_back(bounds); },
            .boxMoved = [this](const QUuid &id, const NormRect &bounds) {
                events.push_back("boxMoved");
                moves.emplace_back(id, bounds);
            },
            .editFinished = [this] { events.push_back("editFinished"); },
        };
    }
    int count(const std::string &event) const { return int(std::count(events.begin(), events.end(), event)); }
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
    CanvasGestureHandler m_handler{m_recorder.intents()};
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

TEST_F(CanvasGestureHandlerTest, AClickAsksToSelectTheFrontBox)
{
    click(canvasPoint(0.4, 0.4));
    EXPECT_EQ(m_recorder.events, (std::vector<std::string>{"boxSelected"}));
    EXPECT_EQ(m_recorder.selected, std::vector<QUuid>{m_back.id});
    EXPECT_EQ(m_handler.selectedDetectionId(), std::nullopt) << "the review answers with the selection";
}

TEST_F(CanvasGestureHandlerTest, AMoveUnderTheDragThresholdIsStillAClick)
{
    m_handler.grab(canvasPoint(0.6, 0.6));
    m_handler.move(canvasPoint(0.6, 0.6) + QPointF(1.5, 0));
    m_handler.release(canvasPoint(0.6, 0.6) + QPointF(1.5, 0));
    EXPECT_EQ(m_recorder.selected, std::vector<QUuid>{m_front.id});
    EXPECT_EQ(m_handler.redactionPlan().entries().first().detection, m_front);
}

TEST_F(CanvasGestureHandlerTest, NoSelectionInDrawOrPreviewMode)
{
    m_handler.setManualEditing(true);
    click(canvasPoint(0.4, 0.4));
    m_handler.setManualEditing(false);
    m_handler.setPreviewingRedactedOutput(true);
    click(canvasPoint(0.4, 0.4));
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
    EXPECT_TRUE(m_recorder.moves.empty());
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

TEST_F(CanvasGestureHandlerTest, ADrawingAsksToAddItsBoxAndLeavesThePlanToTheReview)
{
    m_handler.setManualEditing(true);
    const RedactionPlan before = m_handler.redactionPlan();

    m_handler.grab({100, 100});
    m_handler.move({200, 150});
    ASSERT_TRUE(m_handler.draftBounds());
    EXPECT_TRUE(rectNear(*m_handler.draftBounds(), {0.1, 0.7, 0.1, 0.1}));
    m_handler.move({300, 200});
    m_handler.release({300, 200});

    EXPECT_FALSE(m_handler.draftBounds());
    EXPECT_EQ(m_recorder.events, (std::vector<std::string>{"boxAdded"}));
    ASSERT_EQ(m_recorder.added.size(), 1u);
    EXPECT_TRUE(rectNear(m_recorder.added[0], {0.1, 0.6, 0.2, 0.2}));
    EXPECT_EQ(m_handler.redactionPlan(), before);
}

TEST_F(CanvasGestureHandlerTest, ADrawingStartedOutsideTheImageAddsNothing)
{
    m_handler.setCanvasSize({1200, 500}); // the image sits at x 100 ... 1100
    m_handler.setManualEditing(true);
    m_handler.grab({50, 100});
    m_handler.move({400, 300});
    EXPECT_FALSE(m_handler.draftBounds());
    m_handler.release({400, 300});
    EXPECT_TRUE(m_recorder.events.empty());
    // Nor does one on the image's far edge.
    drag({1100, 100}, {}, {900, 300});
    EXPECT_TRUE(m_recorder.events.empty());
}

TEST_F(CanvasGestureHandlerTest, ADrawingEndingFarOutsideStopsAtTheImageEdge)
{
    m_handler.setManualEditing(true);
    drag({500, 250}, {}, {5000, 5000});
    ASSERT_EQ(m_recorder.added.size(), 1u);
    EXPECT_TRUE(rectNear(m_recorder.added[0], {0.5, 0, 0.5, 0.5}));
}

TEST_F(CanvasGestureHandlerTest, AMoveReportsEveryStepAndFinishesOnce)
{
    m_handler.setSelectedDetectionId(m_front.id);
    const QPointF start = canvasPoint(0.6, 0.6);
    drag(start, {start + QPointF(10, 0), start + QPointF(50, 0), start + QPointF(100, 0)}, start + QPointF(100, 50));

    EXPECT_TRUE(rectNear(boundsOf(m_front.id), {0.4, 0.2, 0.4, 0.4}, 1e-9));
    EXPECT_EQ(m_recorder.count("boxMoved"), 4);
    EXPECT_EQ(m_recorder.count("editFinished"), 1);
    EXPECT_EQ(m_recorder.events.back(), "editFinished");
    ASSERT_FALSE(m_recorder.moves.empty());
    EXPECT_EQ(m_recorder.moves.back(), std::make_pair(m_front.id, boundsOf(m_front.id)));
    EXPECT_FALSE(m_handler.isEditingBounds());

    // The detected finding became an adjusted one, its first box kept.
    const Detection &moved = m_handler.redactionPlan().entries().first().detection;
    EXPECT_EQ(moved.source, DetectionSource::user);
    EXPECT_EQ(moved.originalNormalizedBounds, m_front.normalizedBounds);
}

TEST_F(CanvasGestureHandlerTest, MovingFollowsReadingOrderAndKeepsTheSelection)
{
    m_handler.setSelectedDetectionId(m_front.id);
    const QPointF start = canvasPoint(0.6, 0.6);
    drag(start, {}, start + QPointF(0, 200)); // 0.4 lower: below the other box
    EXPECT_EQ(m_handler.redactionPlan().entries().last().id(), m_front.id);
    EXPECT_EQ(m_handler.selectedDetectionId(), m_front.id);
}

TEST_F(CanvasGestureHandlerTest, AMoveAgainstTheBorderKeepsTheSize)
{
    m_handler.setSelectedDetectionId(m_front.id);
    const QPointF start = canvasPoint(0.6, 0.6);
    drag(start, {}, start + QPointF(4000, -4000));
    EXPECT_TRUE(rectNear(boundsOf(m_front.id), {0.6, 0.6, 0.4, 0.4}, 1e-9));
}

TEST_F(CanvasGestureHandlerTest, AHandleResizesPastTheOppositeCornerToTheSmallestBox)
{
    m_handler.setSelectedDetectionId(m_front.id);
    const QPointF bottomTrailing = canvasPoint(0.7, 0.3);
    ASSERT_EQ(m_handler.hitTest(bottomTrailing), (CanvasHit{m_front.id, ResizeCorner::bottomTrailing}));
    drag(bottomTrailing, {bottomTrailing + QPointF(-1, 0)}, bottomTrailing + QPointF(-900, -400));
    EXPECT_TRUE(rectNear(boundsOf(m_front.id), {0.3, 0.698, 0.002, 0.002}, 1e-9));
    EXPECT_EQ(m_recorder.count("editFinished"), 1);
}

TEST_F(CanvasGestureHandlerTest, AHandleDragOfOnePointResizes)
{
    m_handler.setSelectedDetectionId(m_front.id);
    const QPointF topTrailing = canvasPoint(0.7, 0.7);
    drag(topTrailing, {}, topTrailing + QPointF(1, 0));
    EXPECT_TRUE(rectNear(boundsOf(m_front.id), {0.3, 0.3, 0.401, 0.4}, 1e-9));
}

TEST_F(CanvasGestureHandlerTest, AnEditThatChangedNothingReportsNoMove)
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
    EXPECT_EQ(m_recorder.events, (std::vector<std::string>{"editFinished"}));
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
    CanvasGestureHandler handler(recorder.intents());
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
    EXPECT_TRUE(recorder.events.empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, EmptyLayoutTest, ::testing::Values(
    EmptyRow{"zeroImageWidth", {0, 500}, {800, 600}},
    EmptyRow{"negativeImageHeight", {400, -5}, {800, 600}},
    EmptyRow{"zeroCanvasHeight", {400, 300}, {800, 0}},
    EmptyRow{"nothingAtAll", {0, 0}, {0, 0}}),
    test::rowName);

} // namespace
