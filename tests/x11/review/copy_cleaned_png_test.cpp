#include "app/protection/system_clipboard.h"
#include "app/review/review_fixture.h"

#include "support/detection_fixtures.h"
#include "support/metadata_chunks.h"
#include "support/xclip.h"

#include <QImage>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

// Copy on the X server's real clipboard, read back by another client (xclip).
class CopyCleanedPngOnX11 : public ::testing::Test, protected ReviewServicesOver<FakeScanEngine, SystemClipboard>
{
protected:
    ReviewController controller{environment()};
};

TEST_F(CopyCleanedPngOnX11, AnotherClientReadsAFlattenedPngWithoutMetadata)
{
    QImage source(60, 40, QImage::Format_RGB32);
    source.fill(Qt::white);
    source.setText(QStringLiteral("Description"), QStringLiteral("token sk-live-123"));
    // The left half is one finding.
    const Detection finding = makeFinding({0, 0, 0.5, 1});
    ReviewDocument item = ReviewDocument::make(std::nullopt, QStringLiteral("Clipboard image"),
                                                 SafeShareSourceType::clipboardImport, ReviewImageSource::encode(source),
                                                 QStringLiteral("Loaded."));
    item.adoptOwnPlan(RedactionPlan({}, {finding}, {}), std::nullopt);
    controller.loadBatch({item}, QStringLiteral("Loaded."), 0, false);
    finishPoolWork();

    controller.runShareCommand(ShareAction::copy);
    finishPoolWork();
    drainEvents();

    EXPECT_TRUE(xclipTargets().contains(QStringLiteral("image/png")));
    const QByteArray png = xclipRead(QStringLiteral("image/png"));
    ASSERT_FALSE(png.isEmpty());
    EXPECT_EQ(pngMetadataChunks(png).join(','), QString());
    const QImage pasted = QImage::fromData(png, "PNG");
    ASSERT_EQ(pasted.size(), QSize(60, 40));
    EXPECT_EQ(pasted.pixel(10, 20), qRgb(0, 0, 0));
    EXPECT_EQ(pasted.pixel(50, 20), qRgb(255, 255, 255));
    EXPECT_TRUE(pasted.textKeys().isEmpty());
    // The clipboard guard knows this change as ours.
    EXPECT_TRUE(guard.monitorPlan().handledChangeCounts().contains(clipboard.changeCount()));
    EXPECT_EQ(controller.banner().text(), "Copied cleaned PNG");
}

} // namespace
} // namespace velmora::test
