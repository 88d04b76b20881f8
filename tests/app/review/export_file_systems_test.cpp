#include "app/review/batch_export.h"
#include "core/support/pending_file.h"

#include "review_test_items.h"
#include "support/file_bytes.h"
#include "support/row_name.h"
#include "support/test_file_system.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

struct FileSystemRow
{
    const char *name;
    TestFileSystem fileSystem;
};

class ExportFileSystems : public ::testing::TestWithParam<FileSystemRow>
{
protected:
    void SetUp() override
    {
        if (!m_folder.missing().isEmpty())
            GTEST_SKIP() << m_folder.missing().toStdString();
    }
    QString path(const QString &name = {}) const { return name.isEmpty() ? m_folder.path() : m_folder.filePath(name); }

private:
    TestFileSystemFolder m_folder{GetParam().fileSystem};
};

// A single export, a capture saved into its folder and a confirmed replace each leave
// the file whole under its name and nothing beside it, on a stick as on the disk; a
// name taken keeps what it holds.
TEST_P(ExportFileSystems, WritesWholeFilesAndReplacesOnlyWhenAsked)
{
    EXPECT_TRUE(writeWholeFile(path("shot-redacted.png"), "cleaned", ExistingEntry::keep));
    EXPECT_FALSE(writeWholeFile(path("shot-redacted.png"), "again", ExistingEntry::keep));
    ASSERT_TRUE(writeBytes(path("old-redacted.png"), "old"));
    EXPECT_TRUE(writeWholeFile(path("old-redacted.png"), "replaced", ExistingEntry::replace));

    EXPECT_EQ(fileBytes(path("shot-redacted.png")), "cleaned");
    EXPECT_EQ(fileBytes(path("old-redacted.png")), "replaced");
    EXPECT_EQ(entriesOf(path()), QStringList({"old-redacted.png", "shot-redacted.png"}));
}

// Each batch export takes the next free folder name, and its images go in whole.
TEST_P(ExportFileSystems, BatchExportsEachWriteANewFolder)
{
    const QList<BatchExportJob> jobs{{QStringLiteral("a-redacted.png"), ReviewImageSource::encode(plainImage(40)), {}},
                                     {QStringLiteral("b-redacted.png"), ReviewImageSource::encode(plainImage(60)), {}}};
    for (const QString &folder : {QStringLiteral("Velmora Cleaned"), QStringLiteral("Velmora Cleaned 2")}) {
        const BatchExportOutcome outcome = writeBatchExport(jobs, path(), [](int) {}, [] { return false; });
        ASSERT_TRUE(std::holds_alternative<QString>(outcome)) << int(std::get<BatchExportFailure>(outcome));
        EXPECT_EQ(std::get<QString>(outcome), path(folder));
        EXPECT_EQ(entriesOf(path(folder)), QStringList({"a-redacted.png", "b-redacted.png"}));
    }
    EXPECT_EQ(entriesOf(path()), QStringList({"Velmora Cleaned", "Velmora Cleaned 2"}));
}

// An export killed on the way leaves its hidden temporary file; the next file written
// into the folder removes it, but never one that an export still running holds.
TEST_P(ExportFileSystems, TheNextWriteRemovesTheLeftoversOfKilledExportsOnly)
{
    ASSERT_TRUE(writeBytes(path(".velmora-0123abcdef.part"), "killed on the way"));
    ASSERT_TRUE(writeBytes(path(".velmora-notes.part"), "not a temporary file"));
    std::optional<PendingFile> running = PendingFile::create(path("running-redacted.png"), ExistingEntry::keep);
    ASSERT_TRUE(running.has_value());

    EXPECT_TRUE(writeWholeFile(path("next-redacted.png"), "cleaned", ExistingEntry::keep));
    EXPECT_FALSE(QFileInfo::exists(path(".velmora-0123abcdef.part")));
    EXPECT_TRUE(running->publish("running")) << "the running export's temporary file went";
    EXPECT_EQ(entriesOf(path()), QStringList({".velmora-notes.part", "next-redacted.png", "running-redacted.png"}));
}

INSTANTIATE_TEST_SUITE_P(Rows, ExportFileSystems, ::testing::Values(
    FileSystemRow{"LocalDisk", TestFileSystem::local},
    FileSystemRow{"FatThroughFuse", TestFileSystem::fatThroughFuse},
    FileSystemRow{"ExfatThroughFuse", TestFileSystem::exfatThroughFuse}), rowName);

} // namespace
} // namespace velmora::test
