#include "app/protection/screenshot_folder_watcher.h"

#include "support/event_loop.h"
#include "support/file_bytes.h"
#include "support/manual_clock.h"
#include "support/row_name.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace velmora;
using namespace std::chrono_literals;

namespace {

int openDescriptorCount()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}

class ScreenshotFolderWatcherTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(QDir(m_root.path()).mkdir(QStringLiteral("Shots")));
        m_watcher.setOnReadyCandidates([this](const QList<QUrl> &urls) {
            QStringList names;
            for (const QUrl &url : urls) {
                names.append(url.fileName());
                m_sizesAtDelivery.append(QFileInfo(url.toLocalFile()).size());
            }
            m_deliveries.append(names);
        });
        m_watcher.setOnError([this](ScreenshotFolderWatcherError error) { m_errors.append(description(error)); });
    }

    QString folder() const { return m_root.filePath(QStringLiteral("Shots")); }
    QString inFolder(const QString &name) const { return folder() + QLatin1Char('/') + name; }
    void write(const QString &name, const QByteArray &bytes = QByteArray(64, 'p'))
    {
        ASSERT_TRUE(test::writeBytes(inFolder(name), bytes));
    }
    /// Writes more of a file the test keeps open, and pushes it to disk.
    static void appendFlushed(QFile &file, const QByteArray &bytes)
    {
        ASSERT_EQ(file.write(bytes), bytes.size());
        ASSERT_TRUE(file.flush());
    }
    /// Lets the watcher read the notices the kernel queued for what the test just did.
    static void deliverNotices() { test::drainEvents(); }

    QTemporaryDir m_root;
    test::ManualClock m_clock;
    ScreenshotFolderWatcher m_watcher{m_clock};
    QList<QStringList> m_deliveries;
    QList<qint64> m_sizesAtDelivery;
    QStringList m_errors;
};

} // namespace

TEST_F(ScreenshotFolderWatcherTest, NewFileIsDeliveredOnceAfterOneSecondOfQuiet)
{
    write(QStringLiteral("Old.png"));
    ASSERT_EQ(m_watcher.start(folder()), std::nullopt);
    write(QStringLiteral("New.png"));
    deliverNotices();

    m_clock.advance(999ms);
    EXPECT_TRUE(m_deliveries.isEmpty());
    m_clock.advance(1ms);
    m_clock.advance(10s);
    deliverNotices();
    EXPECT_EQ(m_deliveries, (QList<QStringList>{{QStringLiteral("New.png")}}));
}

TEST_F(ScreenshotFolderWatcherTest, FilesOfOneIntervalArriveAsOneListInNameOrder)
{
    ASSERT_EQ(m_watcher.start(folder()), std::nullopt);
    write(QStringLiteral("Shot 10.png"));
    deliverNotices();
    m_clock.advance(600ms);
    write(QStringLiteral("Shot 2.png"));
    deliverNotices();
    m_clock.advance(999ms);
    EXPECT_TRUE(m_deliveries.isEmpty());
    m_clock.advance(1ms);
    EXPECT_EQ(m_deliveries, (QList<QStringList>{{QStringLiteral("Shot 2.png"), QStringLiteral("Shot 10.png")}}));
}

TEST_F(ScreenshotFolderWatcherTest, SlowlyWrittenFileIsDeliveredOnceComplete)
{
    ASSERT_EQ(m_watcher.start(folder()), std::nullopt);
    QFile file(inFolder(QStringLiteral("Slow.png")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_NO_FATAL_FAILURE(appendFlushed(file, QByteArray(100, 'a')));
    deliverNotices();
    m_clock.advance(500ms);
    ASSERT_NO_FATAL_FAILURE(appendFlushed(file, QByteArray(50, 'b')));
    m_clock.advance(400ms);
    file.close();
    deliverNotices();

    m_clock.advance(5s);
    deliverNotices();
    EXPECT_EQ(m_deliveries, (QList<QStringList>{{QStringLiteral("Slow.png")}}));
    EXPECT_EQ(m_sizesAtDelivery, (QList<qint64>{150}));
}

TEST_F(ScreenshotFolderWatcherTest, FileStillChangingAtTheCheckIsCheckedAgain)
{
    ASSERT_EQ(m_watcher.start(folder()), std::nullopt);
    QFile file(inFolder(QStringLiteral("Open.png")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_NO_FATAL_FAILURE(appendFlushed(file, QByteArray(100, 'a')));
    deliverNotices();
    m_clock.advance(500ms);
    // A write that does not close the file sends no notice of the kinds the watch reads.
    ASSERT_NO_FATAL_FAILURE(appendFlushed(file, QByteArray(50, 'b')));
    deliverNotices();
    m_clock.advance(500ms);
    EXPECT_TRUE(m_deliveries.isEmpty());

    m_clock.advance(1s);
    EXPECT_EQ(m_deliveries, (QList<QStringList>{{QStringLiteral("Open.png")}}));
    EXPECT_EQ(m_sizesAtDelivery, (QList<qint64>{150}));
    EXPECT_EQ(m_clock.pendingCount(), 0);
}

TEST_F(ScreenshotFolderWatcherTest, FilesPresentAtStartAreNeverDelivered)
{
    write(QStringLiteral("Old.png"));
    ASSERT_EQ(m_watcher.start(folder()), std::nullopt);
    write(QStringLiteral("Old.png"), QByteArray(500, 'z'));
    deliverNotices();
    m_clock.advance(5s);
    EXPECT_TRUE(m_deliveries.isEmpty());
}

TEST_F(ScreenshotFolderWatcherTest, StopCancelsThePendingCheck)
{
    ASSERT_EQ(m_watcher.start(folder()), std::nullopt);
    write(QStringLiteral("New.png"));
    deliverNotices();
    m_watcher.stop();
    m_clock.advance(5s);
    deliverNotices();
    EXPECT_TRUE(m_deliveries.isEmpty());
    EXPECT_FALSE(m_watcher.isWatching());
}

TEST_F(ScreenshotFolderWatcherTest, RestartForgetsPendingFilesOfTheFirstStart)
{
    ASSERT_EQ(m_watcher.start(folder()), std::nullopt);
    write(QStringLiteral("Pending.png"));
    deliverNotices();
    ASSERT_EQ(m_watcher.start(folder()), std::nullopt);
    write(QStringLiteral("Later.png"));
    deliverNotices();
    m_clock.advance(5s);
    EXPECT_EQ(m_deliveries, (QList<QStringList>{{QStringLiteral("Later.png")}}));
}

namespace {

struct FolderGoneRow
{
    const char *name;
    std::function<bool(const QString &folder, const QString &root)> remove;
};

class ScreenshotFolderGoneTest : public ScreenshotFolderWatcherTest, public ::testing::WithParamInterface<FolderGoneRow>
{
};

} // namespace

TEST_P(ScreenshotFolderGoneTest, StopsWithTheSentenceOnce)
{
    ASSERT_EQ(m_watcher.start(folder()), std::nullopt);
    write(QStringLiteral("New.png"));
    deliverNotices();
    ASSERT_TRUE(GetParam().remove(folder(), m_root.path()));
    deliverNotices();
    m_clock.advance(5s);
    deliverNotices();

    EXPECT_EQ(m_errors, QStringList{QStringLiteral(
                            "Screenshot watch stopped because the selected folder moved or was deleted.")});
    EXPECT_FALSE(m_watcher.isWatching());
    EXPECT_TRUE(m_deliveries.isEmpty());

    // A later start on another folder works as usual.
    ASSERT_TRUE(QDir(m_root.path()).mkdir(QStringLiteral("Other")));
    ASSERT_EQ(m_watcher.start(m_root.filePath(QStringLiteral("Other"))), std::nullopt);
    ASSERT_TRUE(test::writeBytes(m_root.filePath(QStringLiteral("Other/A.png")), "png"));
    deliverNotices();
    m_clock.advance(1s);
    EXPECT_EQ(m_deliveries, (QList<QStringList>{{QStringLiteral("A.png")}}));
}

INSTANTIATE_TEST_SUITE_P(Rows, ScreenshotFolderGoneTest, ::testing::Values(
    FolderGoneRow{"renamed", [](const QString &folder, const QString &root) {
                      return QDir().rename(folder, root + QStringLiteral("/Renamed"));
                  }},
    FolderGoneRow{"movedElsewhere", [](const QString &folder, const QString &root) {
                      return QDir(root).mkdir(QStringLiteral("Elsewhere"))
                             && QDir().rename(folder, root + QStringLiteral("/Elsewhere/Shots"));
                  }},
    FolderGoneRow{"deleted", [](const QString &folder, const QString &) { return QDir(folder).removeRecursively(); }}
), test::rowName);

namespace {

struct CannotOpenRow
{
    const char *name;
    const char *path;
};

class ScreenshotFolderCannotOpenTest : public ScreenshotFolderWatcherTest,
                                       public ::testing::WithParamInterface<CannotOpenRow>
{
};

} // namespace

TEST_P(ScreenshotFolderCannotOpenTest, FailsAndStaysIdle)
{
    write(QStringLiteral("plain.png"));
    const int before = openDescriptorCount();
    const auto error = m_watcher.start(m_root.filePath(QString::fromUtf8(GetParam().path)));

    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(description(*error), QStringLiteral("Screenshot watch could not open the selected folder."));
    EXPECT_FALSE(m_watcher.isWatching());
    EXPECT_EQ(openDescriptorCount(), before);
}

INSTANTIATE_TEST_SUITE_P(Rows, ScreenshotFolderCannotOpenTest, ::testing::Values(
    CannotOpenRow{"missingPath", "Missing"},
    CannotOpenRow{"plainFile", "Shots/plain.png"}
), test::rowName);

TEST_F(ScreenshotFolderWatcherTest, StartStopAndRestartLeaveNoDescriptorBehind)
{
    const int before = openDescriptorCount();
    ASSERT_EQ(m_watcher.start(folder()), std::nullopt);
    EXPECT_EQ(openDescriptorCount(), before + 1);
    ASSERT_EQ(m_watcher.start(folder()), std::nullopt);
    EXPECT_EQ(openDescriptorCount(), before + 1);
    m_watcher.stop();
    m_watcher.stop();
    deliverNotices();
    EXPECT_EQ(openDescriptorCount(), before);
}
