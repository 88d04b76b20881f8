#include "app/review/review_queries.h"

#include "review_commands_fixture.h"
#include "support/thread_pool_gate.h"

namespace velmora::test {
namespace {

// The left half of an image: columns 0 to 19 of a plain image.
const Detection leftHalf = makeFinding({0, 0, 0.5, 1});

// The review over a batch whose bitmaps are decoded from their sources: with the thread
// pool held, the main thread is seen doing none of the work that reads, decodes or renders.
class ScreenWork : public ReviewCommandsTest
{
protected:
    void SetUp() override
    {
        loadUnscanned({scannedItem("a.png", {leftHalf}, 10), scannedItem("b.png", {leftHalf}, 20),
                       scannedItem("c.png", {leftHalf}, 30)});
    }
};

TEST_F(ScreenWork, AStepReturnsAtOnceAndOnlyTheBitmapOfTheItemShownArrives)
{
    {
        ThreadPoolGate gate;
        controller.selectAdjacentBatchItem(1);
        EXPECT_EQ(sourceTitle(state()), "b.png");
        EXPECT_TRUE(state().image().isNull()) << "decoded on the main thread";
        controller.selectAdjacentBatchItem(-1);
        EXPECT_EQ(state().image(), plainImage(10)) << "kept since it was shown";
    }
    drainEvents();
    EXPECT_EQ(state().image(), plainImage(10)) << "the bitmap of the item stepped past is dropped";
    controller.selectAdjacentBatchItem(1);
    finishPoolWork();
    EXPECT_EQ(state().image(), plainImage(20));
}

TEST_F(ScreenWork, ThePreviewIsRenderedOnThePoolForTheImageAndBoxesItShows)
{
    {
        ThreadPoolGate gate;
        controller.setOutputPreview(true);
        EXPECT_EQ(displayedImage(state()), plainImage(10)) << "rendered on the main thread";
        // The plan changes while the first render waits: only the newest plan's preview shows.
        controller.setFindingsActive(false, {leftHalf.id});
    }
    drainEvents();
    EXPECT_EQ(displayedImage(state()).pixel(5, 15), plainImage(10).pixel(0, 0));

    controller.setFindingsActive(true, {leftHalf.id});
    controller.selectAdjacentBatchItem(2);
    finishPoolWork();
    const QImage preview = displayedImage(state());
    EXPECT_EQ(preview.pixel(5, 15), qRgb(0, 0, 0));
    EXPECT_EQ(preview.pixel(35, 15), plainImage(30).pixel(0, 0));
}

} // namespace
} // namespace velmora::test
