#include "core/analysis/import/image_signature.h"

#include "core/analysis/import/image_importer.h"
#include "core/detection/core_error.h"
#include "support/crafted_images.h"
#include "support/crafted_png.h"
#include "support/file_bytes.h"
#include "support/image_bytes.h"
#include "support/image_fixtures.h"
#include "support/import_error.h"
#include "support/temp_folder_test.h"
#include "support/row_name.h"

#include <QTemporaryDir>
#include <QtConcurrent>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <thread>

namespace velmora::test {
namespace {

QByteArray written(const char *format)
{
    const QByteArray bytes = encodedImage(testing::quadrantImage(32, 24), format);
    EXPECT_FALSE(bytes.isEmpty()) << format;
    return bytes;
}

class ImageFolderTest : public velmora::test::TempFolderTest
{
};

struct ForeignFormatRow
{
    const char *name;
    const char *fileName;
    /// The bytes; an SVG shows the folder's other.png, a real screenshot.
    std::function<QByteArray(const QString &otherPng)> bytes;
};

class ForeignFormatTest : public ImageFolderTest, public ::testing::WithParamInterface<ForeignFormatRow> {};

// Each of these used to be decoded by whatever Qt decoder recognised it, whatever the
// file's name said; an SVG even drew another file's pixels into the "imported" image.
TEST_P(ForeignFormatTest, IsRefusedFromAFileAndFromBytes)
{
    const QString otherPng = write(QStringLiteral("other.png"), encodedPng(testing::quadrantImage(64, 64)));
    const QByteArray bytes = GetParam().bytes(otherPng);
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_EQ(imageContentTypeFromSignature(bytes), std::nullopt);
    EXPECT_EQ(importError(write(QString::fromUtf8(GetParam().fileName), bytes)), VelmoraCoreError::invalidImageData);
    EXPECT_EQ(importError(bytes), VelmoraCoreError::invalidImageData);
}

INSTANTIATE_TEST_SUITE_P(Rows, ForeignFormatTest, ::testing::Values(
    ForeignFormatRow{"svgNamedPng", "x.png", svgShowingFile},
    ForeignFormatRow{"svgNamedJpg", "x.jpg", svgShowingFile},
    ForeignFormatRow{"svgNamedTif", "x.tif", svgShowingFile},
    ForeignFormatRow{"svgNamedHeic", "x.heic", svgShowingFile},
    ForeignFormatRow{"svgzNamedPng", "x.png", [](const QString &other) { return gzipped(svgShowingFile(other)); }},
    ForeignFormatRow{"icoHoldingAPng", "x.png", [](const QString &) { return icoHolding(pngDeclaring(300, 200, 200)); }},
    ForeignFormatRow{"icnsHoldingAPng", "x.png", [](const QString &) { return icnsHolding(pngDeclaring(300, 200, 200)); }},
    ForeignFormatRow{"gifNamedPng", "x.png", [](const QString &) { return tinyGif(); }},
    ForeignFormatRow{"bmpNamedJpg", "x.jpg", [](const QString &) { return written("bmp"); }},
    ForeignFormatRow{"webpNamedPng", "x.png", [](const QString &) { return written("webp"); }},
    ForeignFormatRow{"xpmNamedTiff", "x.tiff", [](const QString &) { return written("xpm"); }},
    ForeignFormatRow{"ppmNamedPng", "x.png", [](const QString &) { return written("ppm"); }}),
    rowName);

struct FifoRow
{
    const char *name;
    bool fromFile; ///< The SVG named x.png on disk, else its bytes.
};

class SvgNamingAFifoTest : public ImageFolderTest, public ::testing::WithParamInterface<FifoRow> {};

// Opening a FIFO for reading blocks until a writer comes: an importer that followed the
// SVG's <image> would wait for ever. While the import runs, a writer is offered to any
// reader that appears (opening for writing without blocking succeeds only then), so
// that the test records the open instead of hanging on it.
TEST_P(SvgNamingAFifoTest, IsRefusedWithoutOpeningTheFifo)
{
    const QString fifo = path(QStringLiteral("target.fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QByteArray svg = svgShowingFile(fifo);
    const QString file = write(QStringLiteral("x.png"), svg);
    const QFuture<std::optional<VelmoraCoreError>> import = QtConcurrent::run([&] {
        return GetParam().fromFile ? importError(file) : importError(svg);
    });
    bool opened = false;
    while (!import.isFinished()) {
        const int writer = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (writer >= 0) {
            opened = true;
            ::close(writer); // the reader sees the end of the data
        }
        std::this_thread::yield();
    }
    EXPECT_FALSE(opened);
    EXPECT_EQ(import.result(), VelmoraCoreError::invalidImageData);
}

INSTANTIATE_TEST_SUITE_P(Rows, SvgNamingAFifoTest, ::testing::Values(
    FifoRow{"file", true},
    FifoRow{"bytes", false}),
    rowName);

struct SignatureRow
{
    const char *name;
    QByteArray bytes;
    std::optional<ImageContentType> type;
};

class SignatureTest : public ::testing::TestWithParam<SignatureRow> {};

TEST_P(SignatureTest, NamesTheDecoder)
{
    EXPECT_EQ(imageContentTypeFromSignature(GetParam().bytes), GetParam().type);
}

INSTANTIATE_TEST_SUITE_P(Rows, SignatureTest, ::testing::Values(
    SignatureRow{"png", pngDeclaring(4, 4, 4), ImageContentType::png},
    SignatureRow{"jpeg", testing::jpegWithOrientation(testing::quadrantImage(16, 16), 1), ImageContentType::jpeg},
    SignatureRow{"littleEndianTiff", QByteArray("II\x2a\0", 4), ImageContentType::tiff},
    SignatureRow{"bigEndianTiff", QByteArray("MM\0\x2a", 4), ImageContentType::tiff},
    SignatureRow{"bigTiff", QByteArray("II\x2b\0", 4), ImageContentType::tiff},
    SignatureRow{"heic", fileBytes(QStringLiteral(VELMORA_TEST_DATA_DIR "/hostile/grid-declaring-15475x30311.heic")),
                 ImageContentType::heic},
    SignatureRow{"avif", QByteArray("\0\0\0\x1c" "ftypavif\0\0\0\0avifmif1miaf", 28), std::nullopt},
    SignatureRow{"jpegMarkerAlone", QByteArray("\xFF\xD8", 2), std::nullopt},
    SignatureRow{"pngCut", QByteArray("\x89PNG\r\n", 6), std::nullopt},
    SignatureRow{"empty", QByteArray(), std::nullopt}),
    rowName);

// The data decides the decoder; the name only decides whether a file is taken.
TEST_F(ImageFolderTest, AJpegNamedPngImportsAsJpeg)
{
    const QString file = write(QStringLiteral("shot.png"), testing::jpegWithOrientation(testing::quadrantImage(48, 32), 1));
    EXPECT_EQ(ImageImporter::importImage(file).image.size(), QSize(48, 32));
}

} // namespace
} // namespace velmora::test
