#include "core/analysis/scan/scan_pipeline.h"

#include "review_fixture.h"
#include "support/file_bytes.h"
#include "support/image_bytes.h"
#include "support/image_fixtures.h"
#include "support/row_name.h"
#include "support/thread_pool_gate.h"

#include <QTemporaryDir>

namespace velmora::test {
namespace {

using Review = ReviewServicesOver<ScanPipeline, FakeClipboard>;

struct WorkRow
{
    const char *name;
    std::function<void(ReviewController &, Review &)> start;
    std::function<bool(const ReviewState &, const Review &)> ended;
};

// A small screenshot of one line of text, as PNG bytes.
QByteArray screenshotOf(const QString &text, int width = 240)
{
    return encodedPng(testing::renderLines({{testing::TextPiece{text}}}, QStringLiteral("DejaVu Sans"), 16, Qt::black,
                                           Qt::white, QSize(width, 64))
                          .image);
}

// Qt's raster painting hands pieces of large fills to Qt's global pool and waits for them
// on the GUI thread: application work queued there kept the window from answering. With
// that pool held, each step of a review still runs to its end on the application's pools:
// the recogniser scales and converts its images without Qt's help, and these images are
// too small for Qt to split the painting of previews and cleaned copies.
class ApplicationWork : public ::testing::TestWithParam<WorkRow>, protected Review
{
protected:
    void SetUp() override
    {
        const QByteArray png = screenshotOf(QStringLiteral("Ticket 4821"));
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(writeBytes(m_dir.filePath(QStringLiteral("%1.png").arg(i)), png));
        controller.loadImageURLs({QUrl::fromLocalFile(m_dir.path())}, QStringLiteral("Loaded."), true);
        ASSERT_TRUE(finishPoolWork());
        ASSERT_EQ(controller.state().batch.items().size(), 3);
    }

    QTemporaryDir m_dir;
    ReviewController controller{environment()};
};

TEST_P(ApplicationWork, RunsToItsEndWhileQtsGlobalPoolIsHeld)
{
    ThreadPoolGate qtGlobalPool({QThreadPool::globalInstance()});
    GetParam().start(controller, *this);
    const bool ended = waitUntil([&] { return GetParam().ended(controller.state(), *this); }, "the step to end")
                       && finishApplicationWork();
    // Work that waited for the pool ends once it is let go, before the fixture goes.
    qtGlobalPool.open();
    EXPECT_TRUE(ended);
}

INSTANTIATE_TEST_SUITE_P(Rows, ApplicationWork, ::testing::Values(
    WorkRow{"openAFile", [](ReviewController &c, Review &) { c.loadImageURLs({*c.state().sourceImageURL()}, {}, false); },
            [](const ReviewState &s, const Review &) { return s.batch.items().size() == 1 && !s.image().isNull(); }},
    WorkRow{"stepToAnotherItem", [](ReviewController &c, Review &) { c.selectAdjacentBatchItem(1); },
            [](const ReviewState &s, const Review &) { return !s.image().isNull(); }},
    WorkRow{"scanAgain", [](ReviewController &c, Review &) { c.startDetection(); },
            [](const ReviewState &s, const Review &) { return s.batch.current()->scanEnded() && !s.isChecking(); }},
    WorkRow{"previewTheOutput", [](ReviewController &c, Review &) { c.setOutputPreview(true); },
            [](const ReviewState &s, const Review &) { return !s.screen.preview().isNull(); }},
    WorkRow{"copyTheCleanedImage", [](ReviewController &c, Review &) { c.runShareCommand(ShareAction::copy); },
            [](const ReviewState &, const Review &r) { return !r.clipboard.contents.isEmpty(); }},
    WorkRow{"exportTheBatch",
            [](ReviewController &c, Review &r) {
                r.dialogs.folderAnswer = c.state().sourceImageURL()->adjusted(QUrl::RemoveFilename);
                c.runShareCommand(ShareAction::batchExport);
            },
            [](const ReviewState &s, const Review &) { return s.lastExportLocation.has_value(); }},
    WorkRow{"pasteAnImage",
            [](ReviewController &c, Review &r) {
                r.clipboard.write({{QStringLiteral("image/png"), screenshotOf(QStringLiteral("Order 7310"), 200)}});
                c.pasteImageFromClipboard();
            },
            [](const ReviewState &s, const Review &) { return s.batch.items().size() == 1 && s.image().size() == QSize(200, 64); }}
), rowName);

} // namespace
} // namespace velmora::test
