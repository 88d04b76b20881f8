#include "app/review/review_queries.h"
#include "app/review/review_screen.h"

#include "review_commands_fixture.h"
#include "support/row_name.h"
#include "support/thread_pool_gate.h"

namespace velmora::test {
namespace {

// The left half of an image.
const Detection leftHalf = makeFinding({0, 0, 0.5, 1});

QRgb leftPixel(const QImage &image)
{
    return image.pixel(5, 15);
}

// The review over a batch whose bitmaps are decoded from their sources: with the thread
// pool held, the main thread is seen doing none of the work that reads, decodes or renders.
class ScreenWork : public ReviewCommandsTest
{
protected:
    void SetUp() override
    {
        loadUnscanned({scannedItem("a.png", {leftHalf}, 10), scannedItem("b.png", {leftHalf}, 20),
                       scannedItem("c.png", {leftHalf}, 30)});
        for (const ReviewDocument &item : state().batch.items())
            ids.append(item.id());
    }

    QList<QUuid> ids;
};

TEST_F(ScreenWork, AStepReturnsAtOnceAndTheBitmapFollowsFromThePool)
{
    ThreadPoolGate gate;
    controller.selectAdjacentBatchItem(1);

    EXPECT_EQ(state().batch.selectedID(), ids[1]);
    EXPECT_EQ(sourceTitle(state()), "b.png");
    EXPECT_TRUE(state().hasImageOnScreen());
    EXPECT_TRUE(state().image().isNull()) << "decoded on the main thread";
    // Nothing that needs the pixels runs on the ones shown before.
    EXPECT_FALSE(canShareCurrentImage(state()));
    controller.setManualEditing(true);
    EXPECT_EQ(state().screen.mode(), CanvasMode::reviewing);

    // Stepped on before it is in: only the newest step's bitmap shows.
    controller.selectAdjacentBatchItem(1);
    gate.open();
    drainEvents();
    EXPECT_EQ(state().batch.selectedID(), ids[2]);
    EXPECT_EQ(state().image(), plainImage(30));
    EXPECT_TRUE(canShareCurrentImage(state()));
}

TEST_F(ScreenWork, ABitmapSteppedPastIsDroppedAndAShownOneIsKept)
{
    ThreadPoolGate gate;
    controller.selectAdjacentBatchItem(1);
    controller.selectAdjacentBatchItem(-1);
    EXPECT_EQ(state().image(), plainImage(10)) << "the first image is among those kept";

    gate.open();
    drainEvents();
    EXPECT_EQ(state().batch.selectedID(), ids[0]);
    EXPECT_EQ(state().image(), plainImage(10));
    EXPECT_FALSE(state().screen.isLoading());
}

TEST_F(ScreenWork, ThePreviewIsRenderedOnThePoolForTheBoxesItShows)
{
    ThreadPoolGate gate;
    controller.setOutputPreview(true);
    EXPECT_EQ(state().screen.mode(), CanvasMode::previewing);
    EXPECT_TRUE(state().screen.preview().isNull()) << "rendered on the main thread";
    EXPECT_EQ(displayedImage(state()), plainImage(10)) << "the image shows until its preview is in";

    // A plan change while the first render waits: only the newest plan's preview shows.
    controller.setFindingsActive(false, {leftHalf.id});
    gate.open();
    drainEvents();
    EXPECT_EQ(leftPixel(displayedImage(state())), plainImage(10).pixel(0, 0));

    controller.setFindingsActive(true, {leftHalf.id});
    finishPoolWork();
    EXPECT_EQ(leftPixel(displayedImage(state())), qRgb(0, 0, 0));
}

TEST_F(ScreenWork, WhilePreviewingAStepShowsThePreviewOfTheImageSteppedTo)
{
    controller.setOutputPreview(true);
    finishPoolWork();
    {
        ThreadPoolGate gate;
        controller.selectAdjacentBatchItem(2);
        EXPECT_TRUE(state().screen.preview().isNull()) << "no preview of the image stepped from";
        controller.setOutputPreview(false);
        controller.setOutputPreview(true);
        EXPECT_EQ(state().screen.mode(), CanvasMode::previewing) << "the preview stays on while the bitmap loads";
    }
    finishPoolWork();
    const QImage preview = displayedImage(state());
    EXPECT_EQ(leftPixel(preview), qRgb(0, 0, 0));
    EXPECT_EQ(preview.pixel(35, 15), plainImage(30).pixel(0, 0));
}

// What comes late to the screen, and how it was overtaken.
struct LateRow
{
    const char *name;
    /// Run after the bitmap of `shown` was asked for and the preview of `shown` with
    /// `boxes` was asked for.
    std::function<void(ReviewScreen &, const QUuid &other)> meanwhile;
    bool previewArrives;
};

class ALateResult : public ::testing::TestWithParam<LateRow>
{
};

TEST_P(ALateResult, IsDropped)
{
    const QUuid shown = QUuid::createUuid(), other = QUuid::createUuid();
    const QList<Detection> boxes{leftHalf};
    ReviewScreen screen;
    screen.show(shown, plainImage(10));
    screen.setMode(CanvasMode::previewing);
    screen.awaitPreview(boxes);
    GetParam().meanwhile(screen, other);
    const ReviewScreen before = screen;

    EXPECT_FALSE(screen.arrive(shown, plainImage(90)));
    EXPECT_EQ(screen.arrivePreview(shown, boxes, plainImage(0)), GetParam().previewArrives);
    if (!GetParam().previewArrives)
        EXPECT_EQ(screen.preview(), before.preview());
    EXPECT_EQ(screen.bitmap(), before.bitmap());
}

INSTANTIATE_TEST_SUITE_P(Rows, ALateResult, ::testing::Values(
    LateRow{"NothingHappened", [](ReviewScreen &, const QUuid &) {}, true},
    LateRow{"SteppedToAnother", [](ReviewScreen &screen, const QUuid &other) { screen.await(other); }, false},
    LateRow{"BoxesChanged", [](ReviewScreen &screen, const QUuid &) { screen.awaitPreview({}); }, false},
    LateRow{"PreviewClosed",
            [](ReviewScreen &screen, const QUuid &) {
                screen.setMode(CanvasMode::reviewing);
                screen.setMode(CanvasMode::previewing);
            },
            false}),
    rowName);

} // namespace
} // namespace velmora::test
