#include "app/review/batch_export_folder.h"

#include "support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

TEST(BatchExportWorkFolder, IsHiddenNamedIncompleteAndNeedsAFolder)
{
    QTemporaryDir dir;
    const std::optional<QString> work = createBatchExportWorkFolder(dir.path());
    ASSERT_TRUE(work.has_value());
    EXPECT_TRUE(QFileInfo(*work).isDir());
    EXPECT_TRUE(QFileInfo(*work).fileName().startsWith(QStringLiteral(".Velmora Cleaned (incomplete) ")));
    EXPECT_NE(createBatchExportWorkFolder(dir.path()), work) << "each export has a folder of its own";

    const QString blocker = dir.filePath(QStringLiteral("file"));
    ASSERT_TRUE(writeBytes(blocker, "x"));
    EXPECT_EQ(createBatchExportWorkFolder(blocker), std::nullopt);
    EXPECT_EQ(createBatchExportWorkFolder(dir.filePath(QStringLiteral("missing"))), std::nullopt);
}

// Whatever holds a name, even an empty folder a rename would silently replace, keeps it.
TEST(BatchExportPublishing, TakesTheFirstFreeNameAndReplacesNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Velmora Cleaned")));
    ASSERT_TRUE(writeBytes(dir.filePath(QStringLiteral("Velmora Cleaned 2")), "keep"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")), dir.filePath(QStringLiteral("Velmora Cleaned 3"))));
    const std::optional<QString> work = createBatchExportWorkFolder(dir.path());
    ASSERT_TRUE(work.has_value());
    ASSERT_TRUE(writeBytes(*work + QStringLiteral("/new-redacted.png"), "new"));

    EXPECT_EQ(publishBatchExportFolder(*work), dir.filePath(QStringLiteral("Velmora Cleaned 4")));

    EXPECT_EQ(entriesOf(dir.path()),
              QStringList({"Velmora Cleaned", "Velmora Cleaned 2", "Velmora Cleaned 3", "Velmora Cleaned 4"}));
    EXPECT_TRUE(entriesOf(dir.filePath(QStringLiteral("Velmora Cleaned"))).isEmpty());
    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral("Velmora Cleaned 2"))), "keep");
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("Velmora Cleaned 3"))).isSymLink());
    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral("Velmora Cleaned 4/new-redacted.png"))), "new");
}

} // namespace
} // namespace velmora::test
