#include "core/redaction/redaction_renderer.h"

#include "core/detection/core_error.h"
#include "support/detection_fixtures.h"
#include "support/image_bytes.h"
#include "support/row_name.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>
#include <QImageWriter>

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::encodedImage;
using velmora::test::encodedPng;
using velmora::test::jpegMarkers;
using velmora::test::makeFinding;
using velmora::test::pngChunkTypes;

namespace {

const QColor kBlack = Qt::black;

// Opaque, and every pixel of a row and of a column differs from its neighbours.
QImage patterned(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7) % 256, (y * 11) % 256, (x + y * 3) % 200 + 40));
    }
    return image;
}

QList<Detection> boxes(const QList<NormRect> &rects)
{
    QList<Detection> result;
    for (const NormRect &rect : rects)
        result.append(makeFinding(rect));
    return result;
}

// Every pixel inside `filled` (top-left pixel space) is opaque black, every other one
// is the source's.
::testing::AssertionResult filledExactly(const QImage &output, const QImage &source, const QRect &filled)
{
    if (output.size() != source.size())
        return ::testing::AssertionFailure() << "output size differs from the source";
    for (int y = 0; y < output.height(); ++y) {
        for (int x = 0; x < output.width(); ++x) {
            const QRgb expected = filled.contains(x, y) ? qRgba(0, 0, 0, 255) : source.pixel(x, y);
            if (output.pixel(x, y) != expected) {
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                                     << output.pixel(x, y) << ", expected " << expected;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// --- Rectangle conversions ---------------------------------------------------------------

struct FillRow {
    const char *name;
    NormRect box;
    QSizeF size;
    QRectF expected; // bottom-left pixel space
};

class FillRectTest : public ::testing::TestWithParam<FillRow> {};

TEST_P(FillRectTest, WidensOutwardsToWholePixels)
{
    const auto &row = GetParam();
    EXPECT_EQ(RedactionRenderer::fillRect(row.box, row.size), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, FillRectTest, ::testing::Values(
    FillRow{"exactPixels", {0.1, 0.2, 0.3, 0.4}, {100, 50}, {10, 10, 30, 20}},
    FillRow{"partialPixelsIncluded", {0.125, 0, 0.0625, 0.0625}, {100, 100}, {12, 0, 7, 7}},
    // 50 × (0.2 + 0.4) is a hair above 30; the scaled origin plus the scaled height is 30.
    FillRow{"scaledBeforeAdding", {0.3, 0.2, 0.1, 0.4}, {10, 50}, {3, 10, 1, 20}},
    FillRow{"zeroWidthInsideAPixel", {0.125, 0.5, 0, 0.2}, {100, 100}, {12, 50, 1, 20}},
    FillRow{"zeroWidthOnABoundary", {0.25, 0.5, 0, 0.2}, {100, 100}, {25, 50, 0, 20}},
    FillRow{"negativeSizeStandardised", {0.375, 0.75, -0.25, -0.5}, {100, 50}, {12, 12, 26, 26}}),
    test::rowName);

TEST(RedactionRendererTest, PixelAndBitmapRectsDifferInTheirOrigin)
{
    EXPECT_EQ(RedactionRenderer::pixelRect({0.1, 0.2, 0.3, 0.4}, {100, 50}), QRectF(10, 20, 30, 20));
    EXPECT_EQ(RedactionRenderer::bitmapRect({0.1, 0.2, 0.3, 0.4}, {100, 50}), QRectF(10, 10, 30, 20));
}

// --- Pixels ---------------------------------------------------------------------------------

struct PixelRow {
    const char *name;
    QSize size;
    QList<NormRect> boxes;
    QRect filled; // top-left pixel space; empty: nothing filled
};

class RendererPixelTest : public ::testing::TestWithParam<PixelRow> {};

TEST_P(RendererPixelTest, FillsExactlyTheWidenedBoxes)
{
    const auto &row = GetParam();
    const QImage source = patterned(row.size.width(), row.size.height());
    const QImage output = RedactionRenderer::renderImage(boxes(row.boxes), source, kBlack);
    EXPECT_TRUE(filledExactly(output, source, row.filled));
}

INSTANTIATE_TEST_SUITE_P(Rows, RendererPixelTest, ::testing::Values(
    // Bitmap rectangle (10, 10, 30, 20): rows 20 to 39 from the top, the edge at row 30 not 31.
    PixelRow{"fiftyRows", {100, 50}, {{0.1, 0.2, 0.3, 0.4}}, QRect(10, 20, 30, 20)},
    PixelRow{"partialPixels", {100, 100}, {{0.125, 0, 0.0625, 0.0625}}, QRect(12, 93, 7, 7)},
    PixelRow{"reachingOutside", {100, 100}, {{-0.5, -0.5, 0.7, 0.7}}, QRect(0, 80, 20, 20)},
    PixelRow{"zeroWidthInsideAPixel", {100, 100}, {{0.125, 0.5, 0, 0.2}}, QRect(12, 30, 1, 20)},
    PixelRow{"zeroWidthOnABoundary", {100, 100}, {{0.25, 0.5, 0, 0.2}}, QRect()},
    PixelRow{"whollyOutside", {100, 100}, {{1.5, 0.2, 0.3, 0.3}}, QRect()},
    PixelRow{"farBeyondTheImage", {40, 30}, {{-1e6, -1e6, 2e6, 2e6}}, QRect(0, 0, 40, 30)},
    PixelRow{"nullRectangle", {40, 30}, {NormRect::null()}, QRect()},
    PixelRow{"noBoxes", {40, 30}, {}, QRect()},
    PixelRow{"overlappingBoxes", {100, 100}, {{0, 0.5, 0.5, 0.5}, {0.25, 0.5, 0.25, 0.5}}, QRect(0, 0, 50, 50)}),
    test::rowName);

TEST(RedactionRendererTest, BlackFillIsOpaqueOverTransparentPixels)
{
    QImage source(20, 20, QImage::Format_ARGB32);
    source.fill(qRgba(255, 255, 255, 0));
    const QImage output = RedactionRenderer::renderImage(boxes({{0, 0, 0.5, 1}}), source, kBlack);
    EXPECT_EQ(output.pixel(3, 3), qRgba(0, 0, 0, 255));
    EXPECT_EQ(qAlpha(output.pixel(15, 3)), 0);
}

TEST(RedactionRendererTest, PaintsIntoAFreshBitmap)
{
    QImage source = patterned(30, 20);
    source.setText(QStringLiteral("Author"), QStringLiteral("Someone"));
    const QImage output = RedactionRenderer::renderImage({}, source, kBlack);
    EXPECT_NE(output.constBits(), source.constBits());
    EXPECT_TRUE(output.textKeys().isEmpty());
    EXPECT_FALSE(output.colorSpace().isValid());
    EXPECT_TRUE(filledExactly(output, source, QRect()));
}

TEST(RedactionRendererTest, HighDensitySourceIsDrawnAtFullSize)
{
    QImage source = patterned(100, 50);
    source.setDevicePixelRatio(2.0);
    const QImage output = RedactionRenderer::renderImage(boxes({{0.1, 0.2, 0.3, 0.4}}), source, kBlack);
    EXPECT_EQ(output.devicePixelRatio(), 1.0);
    EXPECT_TRUE(filledExactly(output, source, QRect(10, 20, 30, 20)));
}

TEST(RedactionRendererTest, ColoursOfAnotherColourSpaceAreConvertedToSrgb)
{
    QImage source(8, 8, QImage::Format_RGB32);
    source.fill(qRgb(180, 90, 40));
    source.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
    const QRgb expected = source.convertedToColorSpace(QColorSpace::SRgb).pixel(0, 0);
    ASSERT_NE(expected, qRgb(180, 90, 40));
    const QImage output = RedactionRenderer::renderImage({}, source, kBlack);
    EXPECT_EQ(output.pixel(4, 4), expected);
}

TEST(RedactionRendererTest, FailuresAreTyped)
{
    const auto errorOf = [](auto &&call) -> std::optional<VelmoraCoreError> {
        try {
            call();
        } catch (const VelmoraCoreException &exception) {
            return exception.error();
        }
        return std::nullopt;
    };
    EXPECT_EQ(errorOf([] { RedactionRenderer::renderImage({}, QImage(), kBlack); }),
              VelmoraCoreError::imageRenderFailed);
    EXPECT_EQ(errorOf([] { RedactionRenderer::pngData({}, QImage(), kBlack); }),
              VelmoraCoreError::imageRenderFailed);
    EXPECT_EQ(errorOf([] { RedactionRenderer::encodePNG(QImage()); }), VelmoraCoreError::imageDestinationFailed);
    EXPECT_EQ(errorOf([] { RedactionRenderer::jpegData(QImage(), 0.9); }), VelmoraCoreError::imageDestinationFailed);
}

TEST(RedactionRendererTest, PngDecodesToTheRenderedPixels)
{
    const QImage source = patterned(64, 48);
    const QByteArray png = RedactionRenderer::pngData(boxes({{0.5, 0.5, 0.25, 0.25}}), source, kBlack);
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(png, "PNG"));
    EXPECT_TRUE(filledExactly(decoded.convertToFormat(QImage::Format_RGB32), source, QRect(32, 12, 16, 12)));
}

TEST(RedactionRendererTest, JpegQualityIsClampedToTheUnitRange)
{
    const QImage rendered = RedactionRenderer::renderImage(boxes({{0.1, 0.1, 0.2, 0.2}}), patterned(64, 48), kBlack);
    const QByteArray best = RedactionRenderer::jpegData(rendered, 1.0);
    const QByteArray worst = RedactionRenderer::jpegData(rendered, 0.0);
    EXPECT_NE(best, worst);
    EXPECT_EQ(RedactionRenderer::jpegData(rendered, 1.5), best);
    EXPECT_EQ(RedactionRenderer::jpegData(rendered, -0.2), worst);
    EXPECT_EQ(RedactionRenderer::jpegData(rendered, std::numeric_limits<double>::quiet_NaN()), worst);
    EXPECT_EQ(RedactionRenderer::renderJPEGData(boxes({{0.1, 0.1, 0.2, 0.2}}), patterned(64, 48), kBlack, 0.92),
              RedactionRenderer::jpegData(rendered, 0.92));
}

// --- Metadata -----------------------------------------------------------------------------------

// A source as a photograph or screenshot tool leaves it: text keys and a colour profile
// that is not sRGB, written to a file and read back the way images are imported.
QImage sourceWithMetadata(const char *format)
{
    QImage image = patterned(80, 60);
    image.setText(QStringLiteral("Description"), QStringLiteral("GPS 48.8584 N 2.2945 E"));
    image.setText(QStringLiteral("Author"), QStringLiteral("Camera owner"));
    image.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    EXPECT_TRUE(writer.write(image));
    buffer.close();
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    return reader.read();
}

TEST(RedactionRendererTest, SourceFixtureCarriesMetadata)
{
    const QImage png = sourceWithMetadata("png");
    EXPECT_FALSE(png.textKeys().isEmpty());
    EXPECT_TRUE(png.colorSpace().isValid());
    EXPECT_NE(png.colorSpace(), QColorSpace(QColorSpace::SRgb));
    const QImage jpeg = sourceWithMetadata("jpeg");
    EXPECT_FALSE(jpeg.textKeys().isEmpty());
    EXPECT_TRUE(jpeg.colorSpace().isValid());
}

bool onlyAllowedPngChunks(const QStringList &chunks)
{
    if (chunks.size() < 3 || chunks.first() != QLatin1String("IHDR") || chunks.last() != QLatin1String("IEND"))
        return false;
    return std::all_of(chunks.cbegin(), chunks.cend(), [](const QString &type) {
        return type == QLatin1String("IHDR") || type == QLatin1String("IDAT") || type == QLatin1String("IEND")
            || type == QLatin1String("pHYs");
    });
}

TEST(RedactionRendererTest, PngOutputHasOnlyImageChunks)
{
    for (const char *format : {"png", "jpeg"}) {
        const QImage source = sourceWithMetadata(format);
        const QStringList rendered = pngChunkTypes(RedactionRenderer::pngData(boxes({{0.1, 0.1, 0.2, 0.2}}), source, kBlack));
        EXPECT_TRUE(onlyAllowedPngChunks(rendered)) << format << ": " << rendered.join(u' ').toStdString();
        // Encoding alone drops the metadata too.
        const QStringList encoded = pngChunkTypes(RedactionRenderer::encodePNG(source));
        EXPECT_TRUE(onlyAllowedPngChunks(encoded)) << format << ": " << encoded.join(u' ').toStdString();
    }
}

TEST(RedactionRendererTest, JpegOutputHasNoExifProfileOrComment)
{
    for (const char *format : {"png", "jpeg"}) {
        const QImage source = sourceWithMetadata(format);
        for (const QByteArray &jpeg : {RedactionRenderer::renderJPEGData(boxes({{0.1, 0.1, 0.2, 0.2}}), source, kBlack, 0.92),
                                       RedactionRenderer::jpegData(source, 0.92)}) {
            const QList<int> markers = jpegMarkers(jpeg);
            ASSERT_GE(markers.size(), 3) << format;
            EXPECT_EQ(markers.first(), 0xD8);
            EXPECT_EQ(markers.last(), 0xD9);
            EXPECT_FALSE(markers.contains(0xE1)) << format << ": APP1 (EXIF) written";
            EXPECT_FALSE(markers.contains(0xE2)) << format << ": APP2 (ICC) written";
            EXPECT_FALSE(markers.contains(0xFE)) << format << ": COM written";
        }
    }
}

// The fixture really is what the metadata tests claim: Qt writes these chunks and markers.
TEST(RedactionRendererTest, ParsersSeeTheSourceMetadata)
{
    QImage image = patterned(16, 16);
    image.setText(QStringLiteral("Comment"), QStringLiteral("secret"));
    image.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    const QStringList chunks = pngChunkTypes(encodedPng(image));
    EXPECT_TRUE(chunks.contains(QStringLiteral("iCCP")));
    EXPECT_TRUE(chunks.contains(QStringLiteral("tEXt")) || chunks.contains(QStringLiteral("iTXt"))
                || chunks.contains(QStringLiteral("zTXt")));

    const QList<int> markers = jpegMarkers(encodedImage(image, "JPEG"));
    EXPECT_TRUE(markers.contains(0xE2));
    EXPECT_TRUE(markers.contains(0xFE));
}

} // namespace
