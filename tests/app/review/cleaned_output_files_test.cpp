#include "app/review/cleaned_output_files.h"

#include "core/redaction/redaction_plan.h"
#include "support/detection_fixtures.h"
#include "support/file_bytes.h"
#include "support/image_bytes.h"
#include "support/metadata_chunks.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::fileBytes;
using test::writeBytes;

QImage whiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setText(QStringLiteral("Author"), QStringLiteral("someone@example.com"));
    return image;
}

TEST(CleanedImageData, FillsOnlyActiveBoxesAndCarriesNoTextChunks)
{
    // Left half active, right half switched off.
    RedactionPlan plan({test::makeFinding({0, 0, 0.5, 1}), test::makeFinding({0.5, 0, 0.5, 1})}, {}, {});
    plan.setActive(false, plan.entries().at(1).id());
    const QByteArray png = cleanedImageData(whiteImage(40, 20), plan, CleanedImageFormat::png);

    EXPECT_EQ(test::pngMetadataChunks(png).join(','), QString());
    const QImage decoded = QImage::fromData(png, "PNG");
    ASSERT_EQ(decoded.size(), QSize(40, 20));
    const bool leftIsActive = plan.entries().at(0).isActive;
    const QRgb left = decoded.pixel(5, 10), right = decoded.pixel(35, 10);
    EXPECT_EQ(leftIsActive ? left : right, qRgb(0, 0, 0));
    EXPECT_EQ(leftIsActive ? right : left, qRgb(255, 255, 255));
}

TEST(CleanedImageData, JpegHasNoMetadataSegments)
{
    const QByteArray jpeg = cleanedImageData(whiteImage(32, 32), RedactionPlan(), CleanedImageFormat::jpeg);
    const QList<int> markers = test::jpegMarkers(jpeg);
    ASSERT_FALSE(markers.isEmpty());
    EXPECT_EQ(markers.first(), 0xD8);
    for (int marker : markers) {
        EXPECT_FALSE(marker >= 0xE1 && marker <= 0xEF) << "APPn segment " << std::hex << marker;
        EXPECT_NE(marker, 0xFE) << "comment segment";
    }
}

TEST(WriteNewFile, WritesTheBytesUnderANewName)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.png"));
    EXPECT_TRUE(writeNewFile(path, "cleaned"));
    EXPECT_EQ(fileBytes(path), "cleaned");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"out.png"}));
}

TEST(WriteNewFile, NeverReplacesAnExistingFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("source.png"));
    ASSERT_TRUE(writeBytes(path, "original"));
    EXPECT_FALSE(writeNewFile(path, "cleaned"));
    EXPECT_EQ(fileBytes(path), "original");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"source.png"}));
}

TEST(WriteNewFile, NeverWritesThroughASymbolicLink)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target.png"));
    const QString link = dir.filePath(QStringLiteral("link.png"));
    ASSERT_TRUE(writeBytes(target, "original"));
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_FALSE(writeNewFile(link, "cleaned"));
    EXPECT_EQ(fileBytes(target), "original");
}

TEST(WriteNewFile, FailsWithoutLeavingAnythingWhenTheParentIsAFile)
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("not-a-folder"));
    ASSERT_TRUE(writeBytes(blocker, "x"));
    EXPECT_FALSE(writeNewFile(blocker + QStringLiteral("/out.png"), "cleaned"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"not-a-folder"}));
}

} // namespace
} // namespace velmora
