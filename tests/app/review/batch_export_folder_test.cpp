#include "app/review/batch_export_folder.h"

#include "support/file_bytes.h"
#include "support/row_name.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

QStringList everyEntryOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Name);
}

TEST(BatchExportWorkFolder, IsHiddenAndNamedIncomplete)
{
    QTemporaryDir dir;
    const std::optional<QString> work = createBatchExportWorkFolder(dir.path());
    ASSERT_TRUE(work.has_value());
    EXPECT_TRUE(QFileInfo(*work).isDir());
    const QString name = QFileInfo(*work).fileName();
    EXPECT_TRUE(name.startsWith(QStringLiteral(".Velmora Cleaned (incomplete) "))) << name.toStdString();
    EXPECT_NE(createBatchExportWorkFolder(dir.path()), work) << "each export has a folder of its own";

    const QString blocker = dir.filePath(QStringLiteral("file"));
    ASSERT_TRUE(writeBytes(blocker, "x"));
    EXPECT_EQ(createBatchExportWorkFolder(blocker), std::nullopt);
    EXPECT_EQ(createBatchExportWorkFolder(dir.filePath(QStringLiteral("missing"))), std::nullopt);
}

/// What already holds the name "Velmora Cleaned" when an export is finished.
enum class Occupant { emptyFolder, folderWithFiles, file, danglingLink };

struct OccupantRow
{
    const char *name;
    Occupant occupant;
};

class BatchExportPublishing : public ::testing::TestWithParam<OccupantRow>
{
};

TEST_P(BatchExportPublishing, TakesTheNextFreeNameAndLeavesTheOccupantAsItWas)
{
    QTemporaryDir dir;
    const QString taken = dir.filePath(QStringLiteral("Velmora Cleaned"));
    switch (GetParam().occupant) {
    case Occupant::emptyFolder:
        ASSERT_TRUE(QDir().mkdir(taken));
        break;
    case Occupant::folderWithFiles:
        ASSERT_TRUE(QDir().mkdir(taken));
        ASSERT_TRUE(writeBytes(taken + QStringLiteral("/old-redacted.png"), "keep"));
        break;
    case Occupant::file:
        ASSERT_TRUE(writeBytes(taken, "keep"));
        break;
    case Occupant::danglingLink:
        ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")), taken));
        break;
    }
    const QStringList occupantEntries = QFileInfo(taken).isDir() ? everyEntryOf(taken) : QStringList();
    const std::optional<QString> work = createBatchExportWorkFolder(dir.path());
    ASSERT_TRUE(work.has_value());
    ASSERT_TRUE(writeBytes(*work + QStringLiteral("/new-redacted.png"), "new"));

    const std::optional<QString> published = publishBatchExportFolder(*work);

    EXPECT_EQ(published, dir.filePath(QStringLiteral("Velmora Cleaned 2")));
    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral("Velmora Cleaned 2/new-redacted.png"))), "new");
    EXPECT_EQ(everyEntryOf(dir.path()), QStringList({"Velmora Cleaned", "Velmora Cleaned 2"}));
    switch (GetParam().occupant) {
    case Occupant::emptyFolder:
    case Occupant::folderWithFiles:
        EXPECT_EQ(everyEntryOf(taken), occupantEntries);
        break;
    case Occupant::file:
        EXPECT_EQ(fileBytes(taken), "keep");
        break;
    case Occupant::danglingLink:
        EXPECT_TRUE(QFileInfo(taken).isSymLink());
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, BatchExportPublishing, ::testing::Values(
    OccupantRow{"EmptyFolder", Occupant::emptyFolder},
    OccupantRow{"FolderWithFiles", Occupant::folderWithFiles},
    OccupantRow{"File", Occupant::file},
    OccupantRow{"DanglingLink", Occupant::danglingLink}),
    test::rowName);

TEST(BatchExportPublishingNumbers, CountOnPastEveryTakenName)
{
    QTemporaryDir dir;
    for (int i = 0; i < 3; ++i) {
        const std::optional<QString> work = createBatchExportWorkFolder(dir.path());
        ASSERT_TRUE(work.has_value());
        ASSERT_TRUE(publishBatchExportFolder(*work).has_value());
    }
    EXPECT_EQ(everyEntryOf(dir.path()), QStringList({"Velmora Cleaned", "Velmora Cleaned 2", "Velmora Cleaned 3"}));
}

} // namespace
} // namespace velmora::test
