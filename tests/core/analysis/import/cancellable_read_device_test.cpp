#include "core/analysis/import/cancellable_read_device.h"

#include "core/analysis/import/image_importer.h"
#include "core/detection/core_error.h"
#include "support/captured_output.h"
#include "support/file_bytes.h"
#include "support/image_bytes.h"
#include "support/image_fixtures.h"
#include "support/row_name.h"

#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

std::optional<VelmoraCoreError> importError(const std::function<void()> &import)
{
    try {
        import();
    } catch (const VelmoraCoreException &exception) {
        return exception.error();
    }
    return std::nullopt;
}

/// A picture with detail in every block, so that each format codes it in many pieces.
QImage detailedImage()
{
    QImage image(256, 192, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, (x * y) % 256, (x ^ y) % 256));
    return image;
}

// Hands a decoder the device's bytes as they are read, and cancels the device's task
// once the decoder has read past `cancelAt`: a cancel that lands in the middle of the
// decoding, at a byte the test chooses.
class CancellingReader final : public QIODevice
{
public:
    CancellingReader(CancellableReadDevice &device, TaskHandle task, qint64 cancelAt)
        : m_device(device), m_task(std::move(task)), m_cancelAt(cancelAt)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return false; }
    qint64 size() const override { return m_device.size(); }
    bool seek(qint64 offset) override { return QIODevice::seek(offset) && m_device.seek(offset); }

protected:
    qint64 readData(char *data, qint64 maximumSize) override
    {
        if (pos() >= m_cancelAt)
            m_task.cancel();
        return m_device.read(data, maximumSize);
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    CancellableReadDevice &m_device;
    const TaskHandle m_task;
    const qint64 m_cancelAt;
};

struct QuietRow
{
    const char *name;
    ImageContentType type;
    const char *format; ///< Qt's name of its coder.
    bool progressive;
    double cancelledAt; ///< The share of the bytes read when the task is cancelled.
};

class CancelledDecoding : public ::testing::TestWithParam<QuietRow>
{
};

// A decoder cut short prints why: libpng and libtiff straight to the terminal, the JPEG
// decoder through Qt's log. A cancelled decoding is no fault and must print nothing.
TEST_P(CancelledDecoding, PrintsNothing)
{
    const QuietRow &row = GetParam();
    const QByteArray bytes = encodedImage(detailedImage(), row.format, row.progressive);
    ASSERT_FALSE(bytes.isEmpty());
    const TaskHandle task;
    CancellableReadDevice device(bytes, row.type, task);
    CancellingReader reader(device, task, qint64(bytes.size() * row.cancelledAt));
    const CapturedOutput output;
    QImageReader decoder(&reader, row.format);
    decoder.read();
    EXPECT_TRUE(task.isCancelled());
    EXPECT_TRUE(output.isEmpty()) << output.described();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CancelledDecoding,
    ::testing::Values(
        QuietRow{"pngInItsPixels", ImageContentType::png, "png", false, 0.5},
        QuietRow{"jpegInItsOnlyScan", ImageContentType::jpeg, "jpeg", false, 0.5},
        QuietRow{"progressiveJpegInItsFirstScan", ImageContentType::jpeg, "jpeg", true, 0.1},
        QuietRow{"progressiveJpegInALaterScan", ImageContentType::jpeg, "jpeg", true, 0.7},
        QuietRow{"tiffInItsDirectory", ImageContentType::tiff, "tiff", false, 0.5}),
    rowName);

// A batch scan or an import that is cancelled must not leave a thread decoding, nor say
// the image was refused.
TEST(CancellableReadDeviceTest, ACancelledImportDecodesNothingAndSaysNothing)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("shot.png"));
    ASSERT_TRUE(writeBytes(file, encodedPng(testing::quadrantImage(64, 48))));
    const TaskHandle running;
    EXPECT_EQ(ImageImporter::importFile(file, running).image.image.size(), QSize(64, 48));

    const TaskHandle cancelled;
    cancelled.cancel();
    const CapturedOutput output;
    EXPECT_EQ(importError([&] { ImageImporter::importFile(file, cancelled); }), VelmoraCoreError::invalidImageData);
    EXPECT_EQ(importError([&] { ImageImporter::importImage(fileBytes(file), cancelled); }),
              VelmoraCoreError::invalidImageData);
    EXPECT_TRUE(output.isEmpty()) << output.described();
}

} // namespace
} // namespace velmora::test
