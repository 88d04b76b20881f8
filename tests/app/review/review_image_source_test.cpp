#include "app/review/decoded_image_cache.h"
#include "app/review/review_image_source.h"
#include "core/detection/core_error.h"

#include "review_test_items.h"
#include "support/file_bytes.h"
#include "support/image_bytes.h"
#include "support/row_name.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

#include <functional>

namespace velmora::test {
namespace {

VelmoraCoreError decodeError(const ReviewImageSource &source)
{
    try {
        source.decode();
    } catch (const VelmoraCoreException &exception) {
        return exception.error();
    }
    ADD_FAILURE() << "the source decoded";
    return VelmoraCoreError::imageRenderFailed;
}

TEST(ReviewImageSource, BytesDecodeToTheirImage)
{
    const ReviewImageSource source = ReviewImageSource::encode(plainImage(70));
    EXPECT_EQ(source.decode().image.pixel(3, 3), plainImage(70).pixel(3, 3));
    EXPECT_FALSE(source.filePath().has_value());
}

TEST(ReviewImageSource, AFileKeepsNoBytesAndDecodesWhileUnchanged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shot.png"));
    ASSERT_TRUE(writeBytes(path, encodedPng(plainImage(40))));

    const auto [source, image] = ReviewImageSource::importFile(path);

    EXPECT_EQ(image.image.pixel(0, 0), plainImage(40).pixel(0, 0));
    EXPECT_TRUE(source.encodedBytes().isEmpty());
    EXPECT_EQ(source.filePath(), path);
    EXPECT_EQ(source.decode().image.pixel(0, 0), plainImage(40).pixel(0, 0));
}

// How many times the file was opened while `work` ran. The kernel queues an event for
// each open as it happens, so all of them are waiting once `work` returns; closes are
// watched too, since an event equal to the one before it in the queue is merged.
int opensOf(const QString &path, const std::function<void()> &work)
{
    const int events = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    EXPECT_GE(events, 0);
    EXPECT_GE(inotify_add_watch(events, QFile::encodeName(path).constData(), IN_OPEN | IN_CLOSE), 0);
    work();
    int opens = 0;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t got; (got = ::read(events, buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at < got;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            opens += (event->mask & IN_OPEN) ? 1 : 0;
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    ::close(events);
    return opens;
}

// Its hash is of the bytes the importer's checked read returned: a second, unchecked
// read could see other bytes (or a pipe put in the file's place) than those decoded.
TEST(ReviewImageSource, AFileIsReadOnceForItsImageAndItsHash)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shot.png"));
    ASSERT_TRUE(writeBytes(path, encodedPng(plainImage(40))));
    std::optional<ReviewImageSource> source;
    EXPECT_EQ(opensOf(path, [&] { source = ReviewImageSource::importFile(path).first; }), 1);
    EXPECT_EQ(opensOf(path, [&] { source->decode(); }), 1);
}

struct ChangeRow
{
    const char *name;
    std::function<void(const QString &path)> change;
};

class AChangedFile : public ::testing::TestWithParam<ChangeRow>
{
};

TEST_P(AChangedFile, IsNeverDecodedAgain)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shot.png"));
    ASSERT_TRUE(writeBytes(path, encodedPng(plainImage(40))));
    const ReviewImageSource source = ReviewImageSource::importFile(path).first;

    GetParam().change(path);

    EXPECT_EQ(decodeError(source), VelmoraCoreError::invalidImageData);
}

INSTANTIATE_TEST_SUITE_P(Rows, AChangedFile, ::testing::Values(
    ChangeRow{"Gone", [](const QString &path) { QFile::remove(path); }},
    ChangeRow{"OtherImage", [](const QString &path) { writeBytes(path, encodedPng(plainImage(41, 80, 60))); }},
    ChangeRow{"SameSizeAndTimeOtherBytes",
              [](const QString &path) {
                  QFile file(path);
                  const QDateTime modified = QFileInfo(path).lastModified();
                  QByteArray bytes = fileBytes(path);
                  bytes[bytes.size() - 20] = char(bytes.at(bytes.size() - 20) ^ 0x55);
                  writeBytes(path, bytes);
                  file.open(QIODevice::ReadWrite);
                  file.setFileTime(modified, QFileDevice::FileModificationTime);
              }}),
    rowName);

TEST(DecodedImageCache, KeepsTheNewestFew)
{
    DecodedImageCache cache;
    QList<QUuid> ids;
    for (int i = 0; i < 5; ++i) {
        ids.append(QUuid::createUuid());
        cache.insert(ids.last(), ScreenBitmap::of(plainImage(10 * i)));
    }
    EXPECT_EQ(cache.size(), DecodedImageCache::capacity);
    EXPECT_EQ(cache.find(ids.last()).bitmap.pixel(0, 0), plainImage(40).pixel(0, 0));
    EXPECT_TRUE(cache.find(ids.first()).isNull()) << "evicted";
    // Found, an image is the newest again.
    cache.find(ids.at(2));
    cache.insert(QUuid::createUuid(), ScreenBitmap::of(plainImage()));
    EXPECT_FALSE(cache.find(ids.at(2)).isNull());
}

} // namespace
} // namespace velmora::test
