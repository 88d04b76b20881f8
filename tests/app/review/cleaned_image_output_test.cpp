#include "app/review/cleaned_image_output.h"

#include "review_test_items.h"

#include "support/event_loop.h"
#include "support/file_bytes.h"
#include "support/row_name.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace velmora::test {
namespace {

/// The left half of the image hidden.
RedactionPlan leftHalf()
{
    return RedactionPlan({}, {makeFinding({0, 0, 0.5, 1})}, {});
}

struct Reported
{
    int calls = 0;
    QThread *thread = nullptr;
};

TEST(CleanedImageOutput, HandsTheRenderedPngBackOnTheMainThreadOnlyFromTheEventLoop)
{
    CleanedImageOutput output;
    Reported reported;
    std::optional<QByteArray> png;
    output.renderPNG(plainImage(), leftHalf(), [&](const std::optional<QByteArray> &rendered) {
        ++reported.calls;
        reported.thread = QThread::currentThread();
        png = rendered;
    });
    EXPECT_EQ(reported.calls, 0) << "never inside the call";

    output.future().waitForFinished();
    drainEvents();

    ASSERT_EQ(reported.calls, 1);
    EXPECT_EQ(reported.thread, QCoreApplication::instance()->thread());
    ASSERT_TRUE(png.has_value());
    const QImage decoded = QImage::fromData(*png, "PNG");
    ASSERT_EQ(decoded.size(), QSize(40, 30));
    EXPECT_EQ(decoded.pixel(5, 15), qRgb(0, 0, 0));
    EXPECT_EQ(decoded.pixel(35, 15), qRgb(200, 200, 200));
}

TEST(CleanedImageOutput, AnImageThatCannotBeRenderedGivesNothing)
{
    CleanedImageOutput output;
    std::optional<std::optional<QByteArray>> result;
    output.renderPNG(QImage(), leftHalf(), [&](const std::optional<QByteArray> &png) { result = png; });
    output.future().waitForFinished();
    drainEvents();
    ASSERT_TRUE(result.has_value());
    EXPECT_FALSE(result->has_value());
}

struct WriteRow
{
    const char *name;
    const char *fileName;  ///< Inside a new folder that holds "source.png".
    bool written;
    const char *signature = "\x89PNG"; ///< The first bytes of the file written: the format its name asks for.
};

class CleanedImageOutputWrite : public ::testing::TestWithParam<WriteRow>
{
};

TEST_P(CleanedImageOutputWrite, ReportsWhetherTheFileWasWritten)
{
    QTemporaryDir dir;
    const QString source = dir.filePath("source.png");
    ASSERT_TRUE(writeBytes(source, "keep me"));
    const QString path = dir.filePath(QString::fromUtf8(GetParam().fileName));
    CleanedImageOutput output;
    std::optional<bool> written;
    output.writeFile(plainImage(), leftHalf(), path, source, [&](bool done) { written = done; });
    output.future().waitForFinished();
    drainEvents();

    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(*written, GetParam().written);
    EXPECT_EQ(fileBytes(source), "keep me");
    if (GetParam().written) {
        EXPECT_TRUE(fileBytes(path).startsWith(GetParam().signature));
        EXPECT_LT(qGray(QImage::fromData(fileBytes(path)).pixel(5, 15)), 16) << "masked";
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, CleanedImageOutputWrite, ::testing::Values(
    WriteRow{"NewFile", "out.png", true},
    WriteRow{"JpegByItsName", "out.JPG", true, "\xFF\xD8"},
    WriteRow{"TheSourceItself", "source.png", false},
    WriteRow{"MissingFolder", "missing/out.png", false}),
    rowName);

TEST(CleanedImageOutput, GoingAwayWaitsForTheFileAndReportsNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.png");
    int reports = 0;
    auto output = std::make_unique<CleanedImageOutput>();
    output->writeFile(plainImage(), leftHalf(), path, QString(), [&](bool) { ++reports; });
    output.reset();
    drainEvents();

    EXPECT_EQ(reports, 0);
    EXPECT_EQ(QImage::fromData(fileBytes(path)).size(), QSize(40, 30)) << "the whole file, not a part of it";
}

} // namespace
} // namespace velmora::test
