#include "core/analysis/import/image_importer.h"

#include "core/detection/core_error.h"
#include "support/captured_output.h"
#include "support/crafted_png.h"
#include "support/image_fixtures.h"
#include "support/import_error.h"
#include "support/temp_folder_test.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;
using namespace velmora::testing;

namespace {

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setCompression(1);
    EXPECT_TRUE(writer.write(image));
    return bytes;
}

// Colours survive lossy coding within this distance.
void expectColour(const QColor &actual, const QColor &expected, const char *where)
{
    EXPECT_NEAR(actual.red(), expected.red(), 40) << where;
    EXPECT_NEAR(actual.green(), expected.green(), 40) << where;
    EXPECT_NEAR(actual.blue(), expected.blue(), 40) << where;
}

void expectUprightQuadrants(const QImage &image)
{
    expectColour(quadrantColour(image, 0, 0), QColor(255, 0, 0), "top left");
    expectColour(quadrantColour(image, 1, 0), QColor(0, 255, 0), "top right");
    expectColour(quadrantColour(image, 0, 1), QColor(0, 0, 255), "bottom left");
    expectColour(quadrantColour(image, 1, 1), QColor(255, 255, 0), "bottom right");
}

class ImageImporterTest : public velmora::test::TempFolderTest
{
};

TEST(SupportedImageTypesTest, OffersPngJpegTiffHeicInOrder)
{
    const QList<ImageContentType> expected{ImageContentType::png, ImageContentType::jpeg, ImageContentType::tiff,
                                           ImageContentType::heic};
    EXPECT_EQ(ImageImporter::supportedContentTypes(), expected);
    EXPECT_EQ(rawValue(ImageContentType::heic), QStringLiteral("image/heic"));
    EXPECT_EQ(imageFileExtensions(ImageContentType::jpeg), (QStringList{QStringLiteral("jpg"), QStringLiteral("jpeg")}));
}

struct ContentTypeRow
{
    const char *name;
    const char *fileName;
    std::optional<ImageContentType> type;
};

class ContentTypeTest : public ::testing::TestWithParam<ContentTypeRow> {};

TEST_P(ContentTypeTest, FollowsTheExtensionTable)
{
    const ContentTypeRow &row = GetParam();
    EXPECT_EQ(ImageImporter::contentType(QString::fromUtf8(row.fileName)), row.type);
    EXPECT_EQ(ImageImporter::isSupported(QString::fromUtf8(row.fileName)), row.type.has_value());
}

INSTANTIATE_TEST_SUITE_P(Rows, ContentTypeTest, ::testing::Values(
    ContentTypeRow{"png", "/tmp/shot.png", ImageContentType::png},
    ContentTypeRow{"upperCasePng", "/tmp/SHOT.PNG", ImageContentType::png},
    ContentTypeRow{"jpg", "/tmp/photo.jpg", ImageContentType::jpeg},
    ContentTypeRow{"upperCaseJpeg", "/tmp/photo.JPEG", ImageContentType::jpeg},
    ContentTypeRow{"tif", "/tmp/scan.tif", ImageContentType::tiff},
    ContentTypeRow{"tiff", "/tmp/scan.Tiff", ImageContentType::tiff},
    ContentTypeRow{"missingHeicStillByExtension", "/nowhere/IMG_0001.HEIC", ImageContentType::heic},
    ContentTypeRow{"retinaName", "/tmp/shot@2x.png", ImageContentType::png},
    ContentTypeRow{"text", "/tmp/notes.txt", std::nullopt},
    ContentTypeRow{"imageNameThenText", "/tmp/shot.png.txt", std::nullopt},
    ContentTypeRow{"gif", "/tmp/anim.gif", std::nullopt},
    ContentTypeRow{"noExtension", "/tmp/README", std::nullopt}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ImageImporterTest, ImportsPngUpright)
{
    const QImage source = quadrantImage(64, 48);
    const ImportedImage imported = ImageImporter::importImage(write(QStringLiteral("a.png"), encoded(source, "png")));
    EXPECT_EQ(imported.orientation, ImageOrientation::up);
    EXPECT_EQ(imported.image.size(), source.size());
    EXPECT_EQ(imported.image.pixel(3, 3), source.pixel(3, 3));
    EXPECT_EQ(imported.image.format(), QImage::Format_RGB32);
}

TEST_F(ImageImporterTest, UpperCaseExtensionImports)
{
    const QString file = write(QStringLiteral("SHOT.PNG"), encoded(quadrantImage(20, 20), "png"));
    EXPECT_EQ(ImageImporter::importImage(file).image.size(), QSize(20, 20));
}

TEST_F(ImageImporterTest, CorruptPngIsInvalidData)
{
    QByteArray bytes = encoded(quadrantImage(40, 40), "png");
    bytes.truncate(bytes.size() / 2);
    bytes.append(QByteArray(64, 'x'));
    EXPECT_EQ(importError(write(QStringLiteral("broken.png"), bytes)), VelmoraCoreError::invalidImageData);
}

// Its chunks are whole, so nothing refuses it before decoding; its pixels do not inflate.
// The decoder's own complaint goes straight to the terminal: the import's log says it too.
TEST_F(ImageImporterTest, AnUndecodablePngIsToldInTheImportLog)
{
    const QByteArray header = QByteArray::fromHex("00000028" "00000028" "0802000000"); // 40 × 40 RGB
    const QByteArray png = QByteArray::fromHex("89504e470d0a1a0a") + pngChunk("IHDR", header)
        + pngChunk("IDAT", QByteArray::fromHex("789c") + QByteArray(64, char(0xff))) + pngChunk("IEND", {});
    const CapturedOutput output;
    EXPECT_EQ(importError(write(QStringLiteral("broken.png"), png)), VelmoraCoreError::invalidImageData);
    const QList<CapturedOutput::Message> messages = output.messages();
    EXPECT_TRUE(std::any_of(messages.begin(), messages.end(), [](const CapturedOutput::Message &message) {
        return message.category == QStringLiteral("com.orlwick.kavri.import") && message.type == QtWarningMsg;
    })) << output.described();
}

TEST_F(ImageImporterTest, TextFileIsUnsupportedAndTextNamedPngIsInvalid)
{
    EXPECT_EQ(importError(write(QStringLiteral("notes.txt"), "just some words\n")), VelmoraCoreError::unsupportedImageType);
    EXPECT_EQ(importError(write(QStringLiteral("notes.png"), "just some words\n")), VelmoraCoreError::invalidImageData);
    EXPECT_EQ(importError(path(QStringLiteral("missing.png"))), VelmoraCoreError::invalidImageData);
}

TEST_F(ImageImporterTest, BytesImportAsAFilesBytesDo)
{
    const QImage source = quadrantImage(30, 30);
    const ImportedImage imported = ImageImporter::importImage(encoded(source, "png"));
    EXPECT_EQ(imported.image.size(), source.size());
    EXPECT_EQ(importError(QByteArray("%PDF-1.4 not an image at all")), VelmoraCoreError::invalidImageData);
    EXPECT_EQ(importError(QByteArray()), VelmoraCoreError::invalidImageData);
}

class JpegOrientationTest : public ::testing::TestWithParam<int> {};

TEST_P(JpegOrientationTest, ComesOutUpright)
{
    const int orientation = GetParam();
    const QImage upright = quadrantImage(96, 64);
    const QByteArray jpeg = jpegWithOrientation(storedForOrientation(upright, orientation), std::uint16_t(orientation));
    const ImportedImage imported = ImageImporter::importImage(jpeg);
    EXPECT_EQ(imported.orientation, ImageOrientation::up);
    ASSERT_EQ(imported.image.size(), upright.size());
    expectUprightQuadrants(imported.image);
}

INSTANTIATE_TEST_SUITE_P(Exif, JpegOrientationTest, ::testing::Range(1, 9),
                         [](const auto &info) { return "orientation" + std::to_string(info.param); });

TEST(JpegOrientationTagTest, ZeroAndNineLeaveTheBitmapAsStored)
{
    const QImage stored = quadrantImage(96, 64);
    for (const std::uint16_t tag : {std::uint16_t(0), std::uint16_t(9)}) {
        const ImportedImage imported = ImageImporter::importImage(jpegWithOrientation(stored, tag));
        ASSERT_EQ(imported.image.size(), stored.size()) << tag;
        expectUprightQuadrants(imported.image);
    }
}

TEST(HeicImportTest, RotatedHeicComesOutUprightOnce)
{
    const QImage upright = quadrantImage(128, 96);
    // Stored turned counter-clockwise, tagged to be shown turned clockwise (EXIF 6).
    const QByteArray heic = heicWithOrientation(storedForOrientation(upright, 6), 6);
    ASSERT_FALSE(heic.isEmpty()) << "libheif has no HEVC encoder";
    const ImportedImage imported = ImageImporter::importImage(heic);
    EXPECT_EQ(imported.orientation, ImageOrientation::up);
    ASSERT_EQ(imported.image.size(), upright.size());
    expectUprightQuadrants(imported.image);
}

TEST_F(ImageImporterTest, HeicFileImports)
{
    const QByteArray heic = heicWithOrientation(quadrantImage(64, 64), 1);
    ASSERT_FALSE(heic.isEmpty());
    const ImportedImage imported = ImageImporter::importImage(write(QStringLiteral("IMG_0001.HEIC"), heic));
    EXPECT_EQ(imported.image.size(), QSize(64, 64));
    expectUprightQuadrants(imported.image);
}

TEST_F(ImageImporterTest, TwoPageTiffGivesPageOne)
{
    QImage first(40, 30, QImage::Format_RGB32);
    first.fill(QColor(200, 30, 30));
    QImage second(50, 20, QImage::Format_RGB32);
    second.fill(QColor(30, 30, 200));
    const ImportedImage imported = ImageImporter::importImage(write(QStringLiteral("scan.tiff"), twoPageTiff(first, second)));
    EXPECT_EQ(imported.image.size(), first.size());
    EXPECT_EQ(imported.image.pixelColor(5, 5), QColor(200, 30, 30));
}

TEST_F(ImageImporterTest, RetinaNameImportsAtFullPixelSize)
{
    const ImportedImage imported =
        ImageImporter::importImage(write(QStringLiteral("shot@2x.png"), encoded(quadrantImage(200, 100), "png")));
    EXPECT_EQ(imported.image.size(), QSize(200, 100));
    EXPECT_EQ(imported.image.devicePixelRatio(), 1.0);
}

TEST_F(ImageImporterTest, FortyFiveMegapixelPngImports)
{
    QImage huge(8000, 5625, QImage::Format_RGB32);
    huge.fill(QColor(240, 240, 240));
    const QString file = write(QStringLiteral("huge.png"), encoded(huge, "png"));
    huge = QImage();
    const ImportedImage imported = ImageImporter::importImage(file);
    EXPECT_EQ(imported.image.size(), QSize(8000, 5625));
}

TEST(ImageImporterColourTest, ConvertsOtherColourSpacesToSrgb)
{
    QImage p3(16, 16, QImage::Format_RGB32);
    p3.fill(QColor(200, 100, 50));
    p3.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    const ImportedImage imported = ImageImporter::importImage(encoded(p3, "png"));
    EXPECT_EQ(imported.image.colorSpace(), QColorSpace(QColorSpace::SRgb));
    // Display P3's red is more saturated than sRGB's: the same numbers grow redder.
    const QColor converted = imported.image.pixelColor(8, 8);
    EXPECT_GT(converted.red(), 200);
    EXPECT_LT(converted.blue(), 50);
}

} // namespace
