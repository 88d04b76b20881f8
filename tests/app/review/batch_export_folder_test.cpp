#include "app/review/batch_export_folder.h"

#include "support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <chrono>
#include <filesystem>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

TEST(BatchExportWorkFolder, IsHiddenNamedIncompleteAndNeedsAFolder)
{
    QTemporaryDir dir;
    const std::optional<BatchExportWorkFolder> work = BatchExportWorkFolder::create(dir.path());
    ASSERT_TRUE(work.has_value());
    EXPECT_TRUE(QFileInfo(work->path()).isDir());
    EXPECT_TRUE(QFileInfo(work->path()).fileName().startsWith(QStringLiteral(".Velmora Cleaned (incomplete) ")));
    EXPECT_NE(BatchExportWorkFolder::create(dir.path()).value().path(), work->path()) << "each export has its own";

    const QString blocker = dir.filePath(QStringLiteral("file"));
    ASSERT_TRUE(writeBytes(blocker, "x"));
    EXPECT_FALSE(BatchExportWorkFolder::create(blocker).has_value());
    EXPECT_FALSE(BatchExportWorkFolder::create(dir.filePath(QStringLiteral("missing"))).has_value());
}

// An export killed on the way leaves its hidden folder; the next export into the same
// folder removes it, but never one newer than itself or one an export still running holds.
TEST(BatchExportWorkFolder, RemovesTheFoldersOfOlderExportsKilledOnTheWay)
{
    QTemporaryDir dir;
    const auto age = [](const QString &path, std::chrono::hours by) {
        std::filesystem::last_write_time(path.toStdString(), std::filesystem::file_time_type::clock::now() + by);
        return path;
    };
    const auto leftover = [&](const QString &suffix, std::chrono::hours by) {
        const QString path = dir.filePath(QStringLiteral(".Velmora Cleaned (incomplete) ") + suffix);
        EXPECT_TRUE(QDir().mkdir(path) && writeBytes(path + QStringLiteral("/shot-redacted.png"), "partial"));
        return age(path, by);
    };
    const QString killed = leftover(QStringLiteral("0000dead"), std::chrono::hours(-1));
    const QString newer = leftover(QStringLiteral("0000beef"), std::chrono::hours(1));
    const std::optional<BatchExportWorkFolder> running = BatchExportWorkFolder::create(dir.path());
    age(running.value().path(), std::chrono::hours(-1));

    ASSERT_TRUE(BatchExportWorkFolder::create(dir.path()).has_value());
    EXPECT_FALSE(QFileInfo::exists(killed));
    EXPECT_TRUE(QFileInfo::exists(newer));
    EXPECT_TRUE(QFileInfo::exists(running->path()));
}

// Whatever holds a name, even an empty folder a rename would silently replace, keeps it.
TEST(BatchExportPublishing, TakesTheFirstFreeNameAndReplacesNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Velmora Cleaned")));
    ASSERT_TRUE(writeBytes(dir.filePath(QStringLiteral("Velmora Cleaned 2")), "keep"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")), dir.filePath(QStringLiteral("Velmora Cleaned 3"))));
    const std::optional<BatchExportWorkFolder> work = BatchExportWorkFolder::create(dir.path());
    ASSERT_TRUE(work.has_value());
    ASSERT_TRUE(writeBytes(work->path() + QStringLiteral("/new-redacted.png"), "new"));

    EXPECT_EQ(publishBatchExportFolder(work->path()), dir.filePath(QStringLiteral("Velmora Cleaned 4")));

    EXPECT_EQ(entriesOf(dir.path()),
              QStringList({"Velmora Cleaned", "Velmora Cleaned 2", "Velmora Cleaned 3", "Velmora Cleaned 4"}));
    EXPECT_TRUE(entriesOf(dir.filePath(QStringLiteral("Velmora Cleaned"))).isEmpty());
    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral("Velmora Cleaned 2"))), "keep");
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("Velmora Cleaned 3"))).isSymLink());
    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral("Velmora Cleaned 4/new-redacted.png"))), "new");
}

} // namespace
} // namespace velmora::test
