#include "app/review/file_import.h"
#include "app/review/future_watch.h"

#include "review_test_items.h"
#include "support/event_loop.h"
#include "support/file_bytes.h"
#include "support/image_bytes.h"
#include "support/thread_pool_gate.h"

#include <QTemporaryDir>
#include <QtConcurrent>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

// Real files read on the thread pool; the test waits for the work, never for time.
class FileImportTest : public ::testing::Test
{
protected:
    /// Writes `count` images, and one unreadable file in the place given, as URLs in order.
    QList<QUrl> writeFiles(int count, int brokenAt = -1)
    {
        QList<QUrl> urls;
        for (int i = 0; i < count; ++i) {
            const QString path = m_dir.filePath(QStringLiteral("%1.png").arg(i));
            EXPECT_TRUE(writeBytes(path, i == brokenAt ? QByteArray("nope") : encodedPng(plainImage(10 + i))));
            urls.append(QUrl::fromLocalFile(path));
        }
        return urls;
    }

    /// Notes each file handed over, whether its bitmap came with it, and the count of the rest.
    void startImport(const QList<QUrl> &urls)
    {
        m_import.start(
            urls,
            [this](const QUrl &url, const ReviewImageSource &source, const ScreenBitmap &bitmap) {
                m_handed.append(url);
                m_withImage.append(!bitmap.isNull());
                EXPECT_EQ(source.filePath(), url.toLocalFile());
            },
            [this](int skipped) { m_skipped = skipped; });
    }

    QTemporaryDir m_dir;
    FileImport m_import{3};
    QList<QUrl> m_handed;
    QList<bool> m_withImage;
    std::optional<int> m_skipped;
};

TEST_F(FileImportTest, HandsEveryReadableFileOverInOrderAndCountsTheRest)
{
    const QList<QUrl> urls = writeFiles(24, 5);

    startImport(urls);
    finishPoolWork();

    QList<QUrl> expected = urls;
    expected.removeAt(5);
    EXPECT_EQ(m_handed, expected);
    EXPECT_EQ(m_skipped, 1);
    ASSERT_FALSE(m_withImage.isEmpty());
    EXPECT_TRUE(m_withImage.first()) << "the first image comes back decoded";
    EXPECT_EQ(m_withImage.count(true), 1) << "no other bitmap travels back";
}

TEST_F(FileImportTest, ACancelledImportHandsNothingMoreOver)
{
    startImport(writeFiles(12));
    m_import.cancel();
    finishPoolWork();

    EXPECT_TRUE(m_handed.isEmpty());
    EXPECT_FALSE(m_skipped.has_value());
}

TEST_F(FileImportTest, ANewImportReplacesTheRunningOne)
{
    const QList<QUrl> first = writeFiles(8);
    startImport(first);
    const QList<QUrl> second{first.last()};
    startImport(second);
    finishPoolWork();

    EXPECT_EQ(m_handed, second);
    EXPECT_EQ(m_skipped, 0);
}

// However many files a folder holds, an import reads a few at a time, so that it keeps
// only that many bitmaps, and the other decodes (the bitmap the user steps to) take their
// turn in between rather than after the whole folder.
TEST_F(FileImportTest, ReadsAFewFilesAtATimeAndLetsOtherDecodesIn)
{
    const QList<QUrl> urls = writeFiles(10);
    startImport(urls);
    WorkPools::decoding().waitForDone(); // the walk, which hands the files over
    std::optional<qsizetype> readBeforeTheDecode;
    {
        ThreadPoolGate gate({&WorkPools::decoding()});
        drainEvents();
        QObject context;
        whenFinished(QtConcurrent::run(&WorkPools::decoding(), [] {}), &context,
                     [&](const QFuture<void> &) { readBeforeTheDecode = m_handed.size(); });
        gate.open();
        drainEvents();
    }
    EXPECT_EQ(readBeforeTheDecode, 3) << "the reads under way when the decode was asked for";
    EXPECT_EQ(m_handed, urls);
}

} // namespace
} // namespace velmora::test
