#include "core/analysis/import/image_input_limits.h"

#include "core/analysis/import/image_importer.h"
#include "core/detection/core_error.h"
#include "support/crafted_images.h"
#include "support/crafted_png.h"
#include "support/file_bytes.h"
#include "support/image_bytes.h"
#include "support/import_error.h"
#include "support/row_name.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

using namespace velmora;
using namespace velmora::test;

namespace {

struct DeclaredSizeRow
{
    const char *name;
    int width;
    int height;
    std::optional<ImageInputRefusal> refusal;
};

class DeclaredSizeTest : public ::testing::TestWithParam<DeclaredSizeRow> {};

TEST_P(DeclaredSizeTest, AdmitsScreenshotsAndRefusesBombs)
{
    const DeclaredSizeRow &row = GetParam();
    EXPECT_EQ(declaredSizeRefusal(QSize(row.width, row.height)), row.refusal);
}

INSTANTIATE_TEST_SUITE_P(Rows, DeclaredSizeTest, ::testing::Values(
    DeclaredSizeRow{"threeFourKDisplays", 3 * 3840, 2160, std::nullopt},
    DeclaredSizeRow{"fullPageCapture", 1920, 30000, std::nullopt},
    DeclaredSizeRow{"atTheLimit", 8192, 8192, std::nullopt},
    DeclaredSizeRow{"onePixelTooMany", 8192 * 8192 + 1, 1, ImageInputRefusal::tooManyPixels},
    DeclaredSizeRow{"squareBomb", 23170, 23170, ImageInputRefusal::tooManyPixels},
    DeclaredSizeRow{"largestDeclarable", 2147483647, 2147483647, ImageInputRefusal::tooManyPixels},
    // What a decoder says when the header gives no size (an icon's PNG entry did).
    DeclaredSizeRow{"unknownSize", -1, -1, ImageInputRefusal::undeclaredSize},
    DeclaredSizeRow{"empty", 0, 0, ImageInputRefusal::undeclaredSize}),
    rowName);

struct DecodedBytesRow
{
    const char *name;
    int width;
    int height;
    QImage::Format format;
    std::optional<ImageInputRefusal> refusal;
};

class DecodedBytesTest : public ::testing::TestWithParam<DecodedBytesRow> {};

TEST_P(DecodedBytesTest, BoundsTheDecoderFormatsBytes)
{
    const DecodedBytesRow &row = GetParam();
    EXPECT_EQ(decodedBytesRefusal(QSize(row.width, row.height), row.format), row.refusal);
}

INSTANTIATE_TEST_SUITE_P(Rows, DecodedBytesTest, ::testing::Values(
    DecodedBytesRow{"eightBitAtThePixelLimit", 8192, 8192, QImage::Format_ARGB32, std::nullopt},
    DecodedBytesRow{"sixteenBitGreyAtThePixelLimit", 8192, 8192, QImage::Format_Grayscale16, std::nullopt},
    DecodedBytesRow{"sixteenBitAtHalfThePixelLimit", 8192, 4096, QImage::Format_RGBA64, std::nullopt},
    DecodedBytesRow{"sixteenBitOneRowMore", 8192, 4097, QImage::Format_RGBX64, ImageInputRefusal::tooManyBytes},
    DecodedBytesRow{"sixteenBitAtThePixelLimit", 8192, 8192, QImage::Format_RGBA64, ImageInputRefusal::tooManyBytes},
    DecodedBytesRow{"floatAtAQuarter", 4096, 4096, QImage::Format_RGBA32FPx4, std::nullopt},
    DecodedBytesRow{"floatAtHalf", 8192, 4096, QImage::Format_RGBA32FPx4, ImageInputRefusal::tooManyBytes},
    DecodedBytesRow{"pixelLimitFirst", 23170, 23170, QImage::Format_Mono, ImageInputRefusal::tooManyPixels},
    DecodedBytesRow{"unknownFormat", 16, 16, QImage::Format_Invalid, ImageInputRefusal::undeclaredSize}),
    rowName);

struct DeepImageRow
{
    const char *name;
    std::function<QByteArray()> bytes;
    QSize importedSize; ///< Empty: refused.
};

class DeepImageTest : public ::testing::TestWithParam<DeepImageRow> {};

// A 16-bit image used to be decoded whatever its bytes, at eight bytes a pixel, and then
// copied to four: 1.3 GB at the pixel limit. Within the byte limit it imports at eight
// bits a channel.
TEST_P(DeepImageTest, ImportsWithinTheByteLimitAtEightBits)
{
    const DeepImageRow &row = GetParam();
    if (row.importedSize.isEmpty()) {
        EXPECT_EQ(importError(row.bytes()), VelmoraCoreError::invalidImageData);
        return;
    }
    const ImportedImage imported = ImageImporter::importImage(row.bytes());
    EXPECT_EQ(imported.image.size(), row.importedSize);
    EXPECT_EQ(imported.image.depth(), 32);
    EXPECT_EQ(imported.image.pixelColor(1, 1), QColor(Qt::black));
}

INSTANTIATE_TEST_SUITE_P(Rows, DeepImageTest, ::testing::Values(
    DeepImageRow{"pngWithinTheLimit", [] { return pngDeclaring(64, 48, 48, 16, 2); }, QSize(64, 48)},
    DeepImageRow{"tiffWithinTheLimit", [] { return tiffDeclaring(64, 48, 16, 3); }, QSize(64, 48)},
    DeepImageRow{"greyTiffAtThePixelLimit", [] { return tiffDeclaring(8192, 8192, 16, 1); }, QSize(8192, 8192)},
    DeepImageRow{"rgbPngPastTheLimit", [] { return pngDeclaring(8192, 4097, 4097, 16, 2); }, QSize()},
    DeepImageRow{"rgbaTiffPastTheLimit", [] { return tiffDeclaring(8192, 4097, 16, 4); }, QSize()}),
    rowName);

TEST(DeepImageColourTest, SixteenBitColoursComeOutAtEightBits)
{
    QImage deep(16, 16, QImage::Format_RGBA64);
    deep.fill(QColor::fromRgba64(0xC0C0, 0x4040, 0x8080, 0xFFFF));
    const ImportedImage imported = ImageImporter::importImage(encodedPng(deep));
    EXPECT_EQ(imported.image.format(), QImage::Format_ARGB32);
    EXPECT_EQ(imported.image.pixelColor(8, 8), QColor(0xC0, 0x40, 0x80));
}

// The PNG declares 23170 × 23170 and holds one valid row: decoding it would take
// 2 GB before finding the rest missing. The header alone refuses it.
TEST(ImageInputLimitsTest, RefusesAnImageBombFromItsDeclaredSize)
{
    const QByteArray bomb = pngDeclaring(23170, 23170);
    ASSERT_LT(bomb.size(), 1024);
    EXPECT_EQ(pngChunkRefusal(bomb), std::nullopt);
    EXPECT_EQ(importError(bomb), VelmoraCoreError::invalidImageData);
}

TEST(ImageInputLimitsTest, ImportsAnImageAtTheSizeOfThreeDisplays)
{
    const ImportedImage imported = ImageImporter::importImage(pngDeclaring(3 * 3840, 2160, 2160));
    EXPECT_EQ(imported.image.size(), QSize(3 * 3840, 2160));
}

// 44 bytes: signature, a valid header, then a chunk that claims 2 GB.
TEST(ImageInputLimitsTest, RefusesAChunkLongerThanTheData)
{
    const QByteArray header = pngDeclaring(16, 16).left(8 + 25);
    const QByteArray claim = QByteArray("\x7f\xff\xff\x00", 4) + QByteArray("tEXt", 4) + QByteArray(3, 'x');
    const QByteArray png = header + claim;
    ASSERT_EQ(png.size(), 44);
    EXPECT_EQ(pngChunkRefusal(png), ImageInputRefusal::chunkPastEnd);
    EXPECT_EQ(importError(png), VelmoraCoreError::invalidImageData);
}

// Found by fuzzing: a grid image that states 16 × 12 for itself but is put together at
// 15475 × 30311 made libheif take 2.8 GB before decoding a tile.
TEST(ImageInputLimitsTest, RefusesAHeicGridThatDeclaresMoreThanItStates)
{
    const QByteArray grid = fileBytes(QStringLiteral(VELMORA_TEST_DATA_DIR "/hostile/grid-declaring-15475x30311.heic"));
    ASSERT_EQ(grid.size(), 835);
    EXPECT_EQ(importError(grid), VelmoraCoreError::invalidImageData);
}

// Found by fuzzing: the JPEG decoder fails to read this header, and asked for the pixel
// format after that it answers with an uninitialised value.
TEST(ImageInputLimitsTest, RefusesAJpegWhoseHeaderCannotBeRead)
{
    const QByteArray jpeg = fileBytes(QStringLiteral(VELMORA_TEST_DATA_DIR "/hostile/jpeg-header-with-bogus-marker-length.jpg"));
    ASSERT_EQ(jpeg.size(), 264);
    EXPECT_EQ(importError(jpeg), VelmoraCoreError::invalidImageData);
}

TEST(ImageInputLimitsTest, PassesWholePngsAndOtherData)
{
    EXPECT_EQ(pngChunkRefusal(pngDeclaring(4, 4, 4)), std::nullopt);
    EXPECT_EQ(pngChunkRefusal(QByteArray("\xff\xd8\xff\xe0", 4)), std::nullopt);
    EXPECT_EQ(pngChunkRefusal({}), std::nullopt);
}

class ImageFileLimitsTest : public ::testing::Test
{
protected:
    QString path(const char *name) const { return m_folder.filePath(QString::fromUtf8(name)); }
    QString link(const char *name, const char *target) const
    {
        EXPECT_TRUE(QFile::link(QString::fromUtf8(target), path(name)));
        return path(name);
    }

private:
    QTemporaryDir m_folder;
};

TEST_F(ImageFileLimitsTest, ReadsARegularFileWhole)
{
    const QByteArray png = pngDeclaring(4, 4, 4);
    ASSERT_TRUE(writeBytes(path("shot.png"), png));
    const ImageFileContent content = readImageFile(path("shot.png"));
    EXPECT_EQ(content.refusal, std::nullopt);
    EXPECT_EQ(content.bytes, png);
    EXPECT_EQ(ImageImporter::importImage(path("shot.png")).image.size(), QSize(4, 4));
}

TEST_F(ImageFileLimitsTest, FollowsALinkToARegularFile)
{
    ASSERT_TRUE(writeBytes(path("real.png"), pngDeclaring(4, 4, 4)));
    const QString linked = link("linked.png", path("real.png").toUtf8().constData());
    EXPECT_EQ(readImageFile(linked).refusal, std::nullopt);
}

struct SpecialFileRow
{
    const char *name;
    const char *target;
};

class SpecialFileTest : public ImageFileLimitsTest, public ::testing::WithParamInterface<SpecialFileRow> {};

// Each would read without end, block or fail to allocate if it were opened and read.
TEST_P(SpecialFileTest, IsRefusedWithoutReading)
{
    const QString linked = link("shot.png", GetParam().target);
    EXPECT_EQ(readImageFile(linked).refusal, ImageInputRefusal::notRegularFile);
    EXPECT_EQ(importError(linked), VelmoraCoreError::invalidImageData);
}

INSTANTIATE_TEST_SUITE_P(Rows, SpecialFileTest, ::testing::Values(
    SpecialFileRow{"zeroDevice", "/dev/zero"},
    SpecialFileRow{"randomDevice", "/dev/urandom"},
    SpecialFileRow{"folder", "/tmp"}),
    rowName);

TEST_F(ImageFileLimitsTest, RefusesAPipeWithoutBlocking)
{
    ASSERT_EQ(::mkfifo(path("pipe.png").toUtf8().constData(), 0600), 0);
    EXPECT_EQ(readImageFile(path("pipe.png")).refusal, ImageInputRefusal::notRegularFile);
}

TEST_F(ImageFileLimitsTest, RefusesAFileAboveTheSizeCapBeforeReadingIt)
{
    QFile file(path("huge.png"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(kMaximumImageFileBytes + 1)); // Sparse: takes no disk space.
    file.close();
    EXPECT_EQ(readImageFile(path("huge.png")).refusal, ImageInputRefusal::fileTooLarge);
    EXPECT_EQ(importError(path("huge.png")), VelmoraCoreError::invalidImageData);
}

TEST_F(ImageFileLimitsTest, RefusesBytesPastASmallerCap)
{
    ASSERT_TRUE(writeBytes(path("shot.png"), QByteArray(100, 'x')));
    EXPECT_EQ(readImageFile(path("shot.png"), 99).refusal, ImageInputRefusal::fileTooLarge);
    EXPECT_EQ(readImageFile(path("shot.png"), 100).bytes.size(), 100);
}

TEST_F(ImageFileLimitsTest, ReportsAMissingFileAsUnreadable)
{
    EXPECT_EQ(readImageFile(path("gone.png")).refusal, ImageInputRefusal::unreadableFile);
}

} // namespace
