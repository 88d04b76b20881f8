#include "core/analysis/import/jpeg_scan_limits.h"

#include "core/analysis/import/image_importer.h"
#include "core/analysis/import/tiff_jpeg_limits.h"
#include "core/detection/core_error.h"
#include "support/crafted_images.h"
#include "support/crafted_jpeg.h"
#include "support/image_bytes.h"
#include "support/image_fixtures.h"
#include "support/import_error.h"
#include "support/row_name.h"

#include <QBuffer>
#include <QImageWriter>

#include <gtest/gtest.h>

#include <functional>

namespace velmora::test {
namespace {

QByteArray encoderProgressiveJpeg(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    EXPECT_TRUE(writer.write(image));
    return bytes;
}

// The encoder's JPEG with the frame's size rewritten: the scans stay as the encoder
// wrote them, and the walk, which decodes nothing, counts them as at that size.
QByteArray declaringSize(QByteArray jpeg, int width, int height)
{
    const qsizetype frame = jpeg.indexOf(QByteArrayView("\xFF\xC2", 2));
    EXPECT_GT(frame, 0);
    jpeg[frame + 5] = char(height >> 8);
    jpeg[frame + 6] = char(height & 0xFF);
    jpeg[frame + 7] = char(width >> 8);
    jpeg[frame + 8] = char(width & 0xFF);
    return jpeg;
}

struct ScanRow
{
    const char *name;
    ProgressiveJpegShape shape;
    std::optional<ImageInputRefusal> refusal;
};

class JpegScansTest : public ::testing::TestWithParam<ScanRow> {};

TEST_P(JpegScansTest, AreBoundedBeforeDecoding)
{
    EXPECT_EQ(jpegScanRefusal(progressiveJpeg(GetParam().shape)), GetParam().refusal);
}

INSTANTIATE_TEST_SUITE_P(Rows, JpegScansTest, ::testing::Values(
    ScanRow{"tenScans", {.acScans = 9}, std::nullopt},
    ScanRow{"atTheScanLimit", {.acScans = 99}, std::nullopt},
    ScanRow{"oneScanTooMany", {.acScans = 100}, ImageInputRefusal::tooManyScans},
    // 18 s to decode before the limit; the scans of the same image at 2.1 MB, 161 s.
    ScanRow{"thousandsOfEmptyScans", {.width = 8192, .height = 8192, .acScans = 5000}, ImageInputRefusal::tooManyScans},
    // Below the scan limit, but each refining scan looks at every coefficient of every block.
    ScanRow{"refiningScansAtThePixelLimit", {.width = 8192, .height = 8192, .acScans = 99, .refining = true},
            ImageInputRefusal::tooManyScans},
    ScanRow{"costliestScansAtTheWorkLimit",
            {.width = 8192, .height = 8192, .acScans = 30, .refining = true, .lastCoefficient = 1}, std::nullopt},
    ScanRow{"oneCostlyScanTooMany",
            {.width = 8192, .height = 8192, .acScans = 31, .refining = true, .lastCoefficient = 1},
            ImageInputRefusal::tooManyScans},
    ScanRow{"fourComponentsAtThePixelLimit", {.width = 8192, .height = 8192, .components = 4, .acScans = 8},
            std::nullopt},
    ScanRow{"fiveComponentsAtThePixelLimit", {.width = 8192, .height = 8192, .components = 5, .acScans = 1},
            ImageInputRefusal::tooManyBytes}),
    rowName);

TEST(JpegScanLimitsTest, PassesWhatTheEncoderWritesAtThePixelLimit)
{
    const QByteArray jpeg = encoderProgressiveJpeg(testing::quadrantImage(256, 256));
    EXPECT_EQ(jpegScanRefusal(jpeg), std::nullopt);
    EXPECT_EQ(jpegScanRefusal(declaringSize(jpeg, 8192, 8192)), std::nullopt);
    const ImportedImage imported = ImageImporter::importImage(jpeg);
    EXPECT_EQ(imported.image.size(), QSize(256, 256));
    EXPECT_GT(testing::quadrantColour(imported.image, 1, 1).red(), 200);
}

TEST(JpegScanLimitsTest, CountsScansUpToACutAndLeavesOtherDataToItsDecoder)
{
    const QByteArray bomb = progressiveJpeg({.width = 8192, .height = 8192, .acScans = 5000});
    EXPECT_EQ(jpegScanRefusal(bomb.left(bomb.size() / 2)), ImageInputRefusal::tooManyScans);
    EXPECT_EQ(jpegScanRefusal(QByteArray("\x89PNG\r\n\x1a\n", 8)), std::nullopt);
    EXPECT_EQ(jpegScanRefusal(QByteArray()), std::nullopt);
}

// The whole of `jpeg` with `bytes` put in before the `nth` (from 0) marker `marker`.
QByteArray insertedBefore(QByteArray jpeg, quint8 marker, int nth, const QByteArray &bytes)
{
    qsizetype at = -1;
    for (int i = 0; i <= nth; ++i)
        at = jpeg.indexOf(QByteArrayView(QByteArray("\xFF", 1) + char(marker)), at + 1);
    EXPECT_GT(at, 0);
    return jpeg.insert(at, bytes);
}

// The JPEG cut half-way through the data of its first scan.
QByteArray cutInItsFirstScan(const QByteArray &jpeg)
{
    const qsizetype scan = jpeg.indexOf(QByteArrayView("\xFF\xDA", 2));
    EXPECT_GT(scan, 0);
    return jpeg.left(scan + (jpeg.size() - scan) / 2);
}

// One scan more than a JPEG may hold, in a small image that decodes at once.
QByteArray oneScanTooMany()
{
    return progressiveJpeg({.acScans = kMaximumJpegScans});
}

QByteArray greyJpeg()
{
    return encodedImage(testing::quadrantImage(64, 64).convertToFormat(QImage::Format_Grayscale8), "JPEG");
}

const QByteArray kStrayByte(1, '\0');

struct HostileJpegRow
{
    const char *name;
    std::function<QByteArray()> bytes;
};

class HostileJpegTest : public ::testing::TestWithParam<HostileJpegRow> {};

// A JPEG cut short used to be decoded with grey where its data ended, and scanned as a
// clean image; a byte the decoder skips between two segments used to end the count of
// its scans, which the decoder then decoded to the last.
TEST_P(HostileJpegTest, IsRefusedBeforeDecoding)
{
    const QByteArray bytes = GetParam().bytes();
    ASSERT_TRUE(bytes.startsWith("\xFF\xD8") || bytes.startsWith("II*"));
    EXPECT_EQ(importError(bytes), VelmoraCoreError::invalidImageData);
}

INSTANTIATE_TEST_SUITE_P(Rows, HostileJpegTest, ::testing::Values(
    HostileJpegRow{"jpegCutHalfWay", [] { return cutInItsFirstScan(encodedImage(testing::quadrantImage(256, 256), "JPEG")); }},
    HostileJpegRow{"progressiveJpegCutBeforeItsLastScan",
                   [] {
                       const QByteArray jpeg = progressiveJpeg({.width = 256, .height = 256, .acScans = 9});
                       return jpeg.left(jpeg.lastIndexOf(QByteArrayView("\xFF\xDA", 2)));
                   }},
    HostileJpegRow{"tiffWhoseJpegStripIsCutShort", [] { return jpegTiff(64, 64, 64, cutInItsFirstScan(greyJpeg())); }},
    // The decoder reads a strip of no stated length to the end of the data.
    HostileJpegRow{"tiffWithoutByteCountsWhoseJpegStripIsCutShort",
                   [] { return jpegTiffWithoutByteCounts(64, 64, cutInItsFirstScan(greyJpeg())); }},
    HostileJpegRow{"strayByteBeforeTheFirstScan", [] { return insertedBefore(oneScanTooMany(), 0xDA, 0, kStrayByte); }},
    HostileJpegRow{"strayByteBeforeATable", [] { return insertedBefore(oneScanTooMany(), 0xC4, 0, kStrayByte); }},
    // An empty comment between two scans, then the stray byte.
    HostileJpegRow{"strayByteBetweenScans",
                   [] { return insertedBefore(oneScanTooMany(), 0xDA, 1, QByteArray("\xFF\xFE\x00\x02\x00", 5)); }},
    // The decoder reads on right after a segment length below two.
    HostileJpegRow{"applicationSegmentOfNoLength",
                   [] { return insertedBefore(oneScanTooMany(), 0xDA, 0, QByteArray("\xFF\xE5\x00\x00", 4)); }},
    // Strips whose work adds up past the limit (the decoder of TIFF strips counts their
    // scans itself).
    HostileJpegRow{"tiffWhoseJpegStripsHaveAStrayByte", [] {
                       const QByteArray strip =
                           progressiveJpeg({.width = 8192, .height = 1024, .acScans = 12, .refining = true});
                       return jpegTiff(8192, 8192, 1024, insertedBefore(strip, 0xDA, 0, kStrayByte));
                   }}),
    rowName);

TEST(JpegScanLimitsTest, TheImporterRefusesAScanBomb)
{
    try {
        ImageImporter::importImage(progressiveJpeg({.width = 8192, .height = 8192, .acScans = 5000}));
        ADD_FAILURE() << "the scan bomb was decoded";
    } catch (const VelmoraCoreException &exception) {
        EXPECT_EQ(exception.error(), VelmoraCoreError::invalidImageData);
    }
}

struct JpegTiffRow
{
    const char *name;
    quint32 rowsPerStrip;
    ProgressiveJpegShape strip; ///< Of the image's width and rowsPerStrip rows.
    std::optional<ImageInputRefusal> refusal;
    bool byteCounts = true; ///< False: one strip, whose length the TIFF does not give.
    TiffTags tags = {};
};

class JpegTiffTest : public ::testing::TestWithParam<JpegTiffRow> {};

// Each strip of a JPEG-compressed TIFF is a JPEG of its own, decoded by the same library:
// a strip of the full image took 23 s with 98 refining scans.
TEST_P(JpegTiffTest, IsBoundedAsAJpegIs)
{
    const JpegTiffRow &row = GetParam();
    const quint32 width = quint32(row.strip.width);
    const QByteArray strip = progressiveJpeg(row.strip);
    const QByteArray tiff = row.byteCounts ? jpegTiff(width, 8192, row.rowsPerStrip, strip, row.tags)
                                           : jpegTiffWithoutByteCounts(width, 8192, strip, row.tags);
    EXPECT_EQ(tiffJpegRefusal(tiff), row.refusal);
}

INSTANTIATE_TEST_SUITE_P(Rows, JpegTiffTest, ::testing::Values(
    JpegTiffRow{"fewScansInOneStrip", 8192, {.width = 8192, .height = 8192, .acScans = 9}, std::nullopt},
    JpegTiffRow{"refiningScansInOneStrip", 8192, {.width = 8192, .height = 8192, .acScans = 98, .refining = true},
                ImageInputRefusal::tooManyScans},
    JpegTiffRow{"refiningScansInAStripWithoutByteCounts", 8192,
                {.width = 8192, .height = 8192, .acScans = 97, .refining = true}, ImageInputRefusal::tooManyScans, false},
    JpegTiffRow{"fewScansInAStripWithoutByteCounts", 8192, {.width = 8192, .height = 8192, .acScans = 9}, std::nullopt,
                false},
    // Each strip alone is well within the limit; their work together is not.
    JpegTiffRow{"stripsWhoseWorkAddsUp", 1024, {.width = 8192, .height = 1024, .acScans = 12, .refining = true},
                ImageInputRefusal::tooManyScans},
    JpegTiffRow{"tooManyScansInOneSmallStrip", 1024, {.width = 64, .height = 1024, .acScans = 100},
                ImageInputRefusal::tooManyScans},
    // libtiff reads these tags in any integer type, and Compression once for each sample.
    JpegTiffRow{"refiningScansWhoseCompressionIsAByte", 8192,
                {.width = 8192, .height = 8192, .acScans = 97, .refining = true}, ImageInputRefusal::tooManyScans, true,
                {.compressionType = 1}},
    JpegTiffRow{"refiningScansWhoseStripOffsetsAreSlongs", 8192,
                {.width = 8192, .height = 8192, .acScans = 97, .refining = true}, ImageInputRefusal::tooManyScans, true,
                {.stripOffsetsType = 9}},
    JpegTiffRow{"refiningScansWithACompressionForEachSample", 8192,
                {.width = 8192, .height = 8192, .acScans = 97, .refining = true}, ImageInputRefusal::tooManyScans, true,
                {.compressionCount = 2}},
    JpegTiffRow{"fewScansWhoseTagsAreSigned", 8192, {.width = 8192, .height = 8192, .acScans = 9}, std::nullopt, true,
                {.compressionType = 8, .stripOffsetsType = 9}},
    // Old-style JPEG is refused whatever its strips hold.
    JpegTiffRow{"fewScansAsOldStyleJpeg", 8192, {.width = 8192, .height = 8192, .acScans = 9},
                ImageInputRefusal::oldStyleJpeg, true, {.compression = 6}}),
    rowName);

TEST(JpegTiffTest, TheImporterRefusesABombAndImportsWithinTheLimits)
{
    const QByteArray bomb = jpegTiff(8192, 8192, 8192,
                                     progressiveJpeg({.width = 8192, .height = 8192, .acScans = 98, .refining = true}));
    try {
        ImageImporter::importImage(bomb);
        ADD_FAILURE() << "the scan bomb was decoded";
    } catch (const VelmoraCoreException &exception) {
        EXPECT_EQ(exception.error(), VelmoraCoreError::invalidImageData);
    }
    const QByteArray tiff = jpegTiff(64, 64, 64, progressiveJpeg({.acScans = 9}));
    EXPECT_EQ(ImageImporter::importImage(tiff).image.size(), QSize(64, 64));
    EXPECT_EQ(ImageImporter::importImage(jpegTiffWithoutByteCounts(64, 64, progressiveJpeg({.acScans = 9}))).image.size(),
              QSize(64, 64));
    EXPECT_EQ(tiffJpegRefusal(tiffDeclaring(8192, 8192, 8, 3)), std::nullopt);
    // 2.4 s of walking for 240 KB, growing with the square of the size.
    EXPECT_EQ(tiffJpegRefusal(jpegTiffOfOverlappingStrips(20000)), ImageInputRefusal::tooManyScans);
    EXPECT_EQ(tiffJpegRefusal(tiff.left(40)), std::nullopt);
    EXPECT_EQ(tiffJpegRefusal(QByteArray("MM\0\x2a\xff\xff\xff\xff", 8)), std::nullopt);
}

} // namespace
} // namespace velmora::test
