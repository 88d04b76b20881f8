#include "app/review/review_controller.h"
#include "app/review/review_status_text.h"
#include "core/analysis/scan/scan_pipeline.h"

#include "review_fixture.h"
#include "support/file_bytes.h"
#include "support/image_bytes.h"
#include "support/row_name.h"
#include "support/thread_pool_gate.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace velmora::test {
namespace {

// Qt's raster painting and image conversions hand pieces of large fills to Qt's global
// pool and wait for them on the calling thread, the GUI thread included: application
// work queued on that pool kept the window from answering until it had ended. With the
// global pool held, each step of a review must still run to its end, on the application's
// own pools. The screenshots are small enough that Qt splits none of its own work.
class ApplicationWork;

struct WorkRow
{
    const char *name;
    std::function<void(ApplicationWork &)> start;
    std::function<bool(const ApplicationWork &)> ended;
};

class ApplicationWork : public ::testing::TestWithParam<WorkRow>, public ReviewServicesOver<ScanPipeline, FakeClipboard>
{
public:
    /// A folder of `count` small screenshots with a line of text each.
    QUrl writeFolder(const QString &name, int count)
    {
        const QString folder = m_dir.filePath(name);
        QDir().mkpath(folder);
        for (int i = 0; i < count; ++i)
            EXPECT_TRUE(writeBytes(QStringLiteral("%1/%2.png").arg(folder).arg(i), screenshot(i)));
        return QUrl::fromLocalFile(folder);
    }

    static QByteArray screenshot(int number)
    {
        QImage image(240, 64, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(20);
        painter.setFont(font);
        painter.drawText(12, 40, QStringLiteral("Ticket %1").arg(4820 + number));
        painter.end();
        return encodedPng(image);
    }

    const ReviewState &state() const { return controller.state(); }

    QTemporaryDir m_dir;
    ReviewController controller{environment()};

protected:
    void SetUp() override
    {
        controller.loadImageURLs({writeFolder(QStringLiteral("shots"), 3)}, ReviewText::imageLoaded, true);
        finishPoolWork(scanSteps);
        ASSERT_EQ(state().batch.items().size(), 3);
        for (const ReviewDocument &item : state().batch.items())
            ASSERT_TRUE(item.scanEnded());
    }

    /// Enough rounds for a file's read, its decode, its scan's steps and the next item's.
    static constexpr int scanSteps = 12;
};

TEST_P(ApplicationWork, RunsToItsEndWhileQtsGlobalPoolIsHeld)
{
    ThreadPoolGate qtGlobalPool({QThreadPool::globalInstance()});
    GetParam().start(*this);
    finishApplicationWork(scanSteps);
    EXPECT_TRUE(GetParam().ended(*this)) << "the work waits on Qt's global pool";
}

INSTANTIATE_TEST_SUITE_P(Rows, ApplicationWork, ::testing::Values(
    WorkRow{"openAFolder",
            [](ApplicationWork &w) {
                w.controller.loadImageURLs({w.writeFolder(QStringLiteral("more"), 2)}, ReviewText::imageLoaded, false);
            },
            [](const ApplicationWork &w) { return w.state().batch.items().size() == 2 && !w.state().image().isNull(); }},
    WorkRow{"stepToAnItemNotDecodedYet",
            [](ApplicationWork &w) { w.controller.selectAdjacentBatchItem(1); },
            [](const ApplicationWork &w) { return !w.state().image().isNull(); }},
    WorkRow{"scanAgain",
            [](ApplicationWork &w) { w.controller.startDetection(); },
            [](const ApplicationWork &w) { return w.state().batch.current()->scanEnded() && !w.state().isChecking(); }},
    WorkRow{"previewTheOutput",
            [](ApplicationWork &w) { w.controller.setOutputPreview(true); },
            [](const ApplicationWork &w) { return !w.state().screen.preview().isNull(); }},
    WorkRow{"copyTheCleanedImage",
            [](ApplicationWork &w) { w.controller.runShareCommand(ShareAction::copy); },
            [](const ApplicationWork &w) { return w.clipboard.types() == QStringList{QStringLiteral("image/png")}; }},
    WorkRow{"exportTheCleanedImage",
            [](ApplicationWork &w) {
                w.dialogs.destinationAnswer = w.m_dir.filePath(QStringLiteral("cleaned.png"));
                w.controller.runShareCommand(ShareAction::export_);
            },
            [](const ApplicationWork &w) { return QFileInfo::exists(w.m_dir.filePath(QStringLiteral("cleaned.png"))); }},
    WorkRow{"exportTheBatch",
            [](ApplicationWork &w) {
                w.dialogs.folderAnswer = QUrl::fromLocalFile(w.m_dir.path());
                w.controller.runShareCommand(ShareAction::batchExport);
            },
            [](const ApplicationWork &w) { return w.state().lastExportLocation.has_value(); }},
    WorkRow{"pasteAnImage",
            [](ApplicationWork &w) {
                w.clipboard.write({{QStringLiteral("image/png"), ApplicationWork::screenshot(9)}});
                w.controller.pasteImageFromClipboard();
            },
            [](const ApplicationWork &w) {
                return w.state().batch.items().size() == 1 && !w.state().image().isNull();
            }}
), rowName);

} // namespace
} // namespace velmora::test
