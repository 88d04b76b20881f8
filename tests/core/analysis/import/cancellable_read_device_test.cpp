#include "core/analysis/import/cancellable_read_device.h"

#include "core/analysis/import/image_importer.h"
#include "core/detection/core_error.h"
#include "support/file_bytes.h"
#include "support/image_bytes.h"
#include "support/image_fixtures.h"

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

TEST(CancellableReadDeviceTest, GivesNoMoreBytesOnceItsTaskIsCancelled)
{
    const TaskHandle task;
    CancellableReadDevice device(QByteArrayLiteral("0123456789"), task);
    EXPECT_EQ(device.read(4), QByteArrayLiteral("0123"));
    EXPECT_TRUE(device.seek(8));
    EXPECT_EQ(device.peek(2), QByteArrayLiteral("89"));
    CancellableReadDevice shortReads(QByteArrayLiteral("0123456789"), task, 3);
    EXPECT_EQ(shortReads.read(10), QByteArrayLiteral("012"));
    task.cancel();
    EXPECT_TRUE(device.seek(0));
    EXPECT_EQ(device.read(4), QByteArray());
    EXPECT_EQ(shortReads.read(3), QByteArray());
}

// A batch scan or an import that is cancelled must not leave a thread decoding.
TEST(CancellableReadDeviceTest, ACancelledImportDecodesNothing)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("shot.png"));
    ASSERT_TRUE(writeBytes(file, encodedPng(testing::quadrantImage(64, 48))));
    const TaskHandle running;
    EXPECT_EQ(ImageImporter::importFile(file, running).image.image.size(), QSize(64, 48));

    const TaskHandle cancelled;
    cancelled.cancel();
    EXPECT_EQ(importError([&] { ImageImporter::importFile(file, cancelled); }), VelmoraCoreError::invalidImageData);
    EXPECT_EQ(importError([&] { ImageImporter::importImage(fileBytes(file), cancelled); }),
              VelmoraCoreError::invalidImageData);
}

} // namespace
} // namespace velmora::test
