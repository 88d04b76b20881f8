#include "app/panes/image_review_view.h"
#include "app/review/review_queries.h"

#include "review_commands_fixture.h"
#include "support/row_name.h"
#include "support/thread_pool_gate.h"

#include <QCryptographicHash>

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

const char *const opaquePng = "f18cba479c44816a1ff554e43a14fb1dbff13a633d300b7c58fd361e0b2e47bb";
const char *const transparentPng = "1fb1c98d5db62de37c0a3ca7ead374e6382dc97e1dcda50eb384c614d84efbba";

struct PictureRow
{
    const char *name;
    QImage image;
    bool previewing;
    const char *cleanedPngSha256; ///< The bytes Copy has always made of the image.
};

// The canvas is handed the bitmap, or the cleaned preview, in a format the screen takes
// as it is: its pixmap is made of the picture's own pixels, converted nowhere on the main
// thread (tens of milliseconds for a large screenshot). The picture shows what the image
// or the cleaned output holds, and the cleaned PNG keeps its bytes.
class ScreenPictures : public ReviewCommandsTest, public ::testing::WithParamInterface<PictureRow> {};

TEST_P(ScreenPictures, TheCanvasDrawsThePictureWithoutConvertingIt)
{
    const PictureRow &row = GetParam();
    ReviewDocument item = fileItem("a.png", row.image);
    item.adoptOwnPlan(RedactionPlan({}, {makeFinding({0.5, 0.2, 0.3, 0.5})}, {}), std::nullopt);
    loadUnscanned({item});
    controller.setOutputPreview(row.previewing);
    controller.runShareCommand(ShareAction::copy);
    finishPoolWork();
    const QImage picture = displayedImage(state());
    const QByteArray png = clipboard.data(QStringLiteral("image/png"));
    ASSERT_FALSE(picture.isNull());

    ImageReviewView canvas;
    canvas.setImage(picture);
    EXPECT_EQ(canvas.pixmap().toImage().constBits(), picture.constBits()) << "converted on the main thread";
    const QImage shown = row.previewing ? QImage::fromData(png) : row.image;
    EXPECT_EQ(picture.convertToFormat(QImage::Format_ARGB32), shown.convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(QCryptographicHash::hash(png, QCryptographicHash::Sha256).toHex(), row.cleanedPngSha256);
}

INSTANTIATE_TEST_SUITE_P(Rows, ScreenPictures, ::testing::Values(
    PictureRow{"opaqueBitmap", patternedImage(QImage::Format_RGB32, false), false, opaquePng},
    PictureRow{"opaquePreview", patternedImage(QImage::Format_RGB32, false), true, opaquePng},
    PictureRow{"transparentBitmap", patternedImage(QImage::Format_ARGB32, true), false, transparentPng},
    PictureRow{"transparentPreview", patternedImage(QImage::Format_ARGB32, true), true, transparentPng},
    PictureRow{"opaqueBitmapWithAnAlphaChannel", patternedImage(QImage::Format_ARGB32, false), false, opaquePng},
    PictureRow{"opaquePreviewWithAnAlphaChannel", patternedImage(QImage::Format_ARGB32, false), true, opaquePng}
), rowName);

} // namespace
} // namespace velmora::test
