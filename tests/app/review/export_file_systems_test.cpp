#include "app/review/batch_export.h"
#include "app/review/batch_export_folder.h"
#include "app/review/output_naming.h"
#include "core/support/pending_file.h"

#include "review_test_items.h"
#include "support/file_bytes.h"
#include "support/killed_writer.h"
#include "support/row_name.h"
#include "support/test_file_system.h"

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

struct FileSystemRow
{
    const char *name;
    TestFileSystem fileSystem;
};

// A test in an empty folder on the row's file system.
template <typename Row>
class OnFileSystem : public ::testing::TestWithParam<Row>
{
protected:
    void SetUp() override
    {
        if (m_folder.path().isEmpty())
            GTEST_SKIP() << "This machine cannot mount the file system.";
    }
    QString path(const QString &name = {}) const { return m_folder.path() + u'/' + name; }
    bool takesNamesInOneStep() const { return this->GetParam().fileSystem == TestFileSystem::local; }

private:
    TestFileSystemFolder m_folder{this->GetParam().fileSystem};
};

using ExportFileSystems = OnFileSystem<FileSystemRow>;

/// Batch jobs of plain images, each of its own grey, named "NN-redacted.png".
QList<BatchExportJob> plainJobs(int count)
{
    QList<BatchExportJob> jobs;
    for (int i = 0; i < count; ++i)
        jobs.append({QStringLiteral("%1-redacted.png").arg(i, 2, 10, QLatin1Char('0')),
                     ReviewImageSource::encode(plainImage(10 * i + 20)), {}});
    return jobs;
}

BatchExportOutcome exportBatch(const QList<BatchExportJob> &jobs, const QString &parent)
{
    return writeBatchExport(jobs, parent, [](int) {}, [] { return false; });
}

// A new file and a confirmed replace land whole on a stick as on the disk; the write also
// removes the temporary file an export killed on the way left, but never one that an
// export still running holds, nor another file.
TEST_P(ExportFileSystems, FilesLandWholeAndOnlyTheLeftoversOfKilledExportsGo)
{
    ASSERT_TRUE(writeBytes(path(".velmora-0123456789abcdef.part"), "killed on the way"));
    ASSERT_TRUE(writeBytes(path(".velmora-notes.part"), "someone's notes"));
    ASSERT_TRUE(writeBytes(path("old-redacted.png"), "old"));
    std::optional<PendingFile> running = PendingFile::create(path("new-redacted.png"), ExistingEntry::keep);
    ASSERT_TRUE(running.has_value());

    EXPECT_TRUE(writeWholeFile(path("old-redacted.png"), "replaced", ExistingEntry::replace));
    EXPECT_TRUE(running->publish("new"));
    EXPECT_EQ(fileBytes(path("new-redacted.png")), "new");
    EXPECT_EQ(fileBytes(path("old-redacted.png")), "replaced");
    EXPECT_EQ(entriesOf(path()), QStringList({".velmora-notes.part", "new-redacted.png", "old-redacted.png"}));
}

// Each batch export takes the next free folder name, with its images whole inside.
TEST_P(ExportFileSystems, BatchExportsEachWriteANewFolder)
{
    const QList<BatchExportJob> jobs{{QStringLiteral("a-redacted.png"), ReviewImageSource::encode(plainImage(40)), {}},
                                     {QStringLiteral("b-redacted.png"), ReviewImageSource::encode(plainImage(60)), {}}};
    for (const QString &folder : {QStringLiteral("Velmora Cleaned"), QStringLiteral("Velmora Cleaned 2")}) {
        const BatchExportOutcome outcome = writeBatchExport(jobs, path(), [](int) {}, [] { return false; });
        ASSERT_TRUE(std::holds_alternative<QString>(outcome));
        EXPECT_EQ(std::get<QString>(outcome), path(folder));
        EXPECT_EQ(entriesOf(path(folder)), QStringList({"a-redacted.png", "b-redacted.png"}));
    }
    EXPECT_EQ(entriesOf(path()), QStringList({"Velmora Cleaned", "Velmora Cleaned 2"}));
}

// A file saved onto a stick (an AutoClean capture, say) and killed once an empty file of
// its own holds its name leaves that empty file and its bytes hidden beside it: the next
// write into the folder removes both. Where the name is taken in one rename there is no
// claim to be killed at, and the file lands whole.
TEST_P(ExportFileSystems, AWriteKilledAtItsClaimLeavesNothingOnceTheNextWriteRuns)
{
    const QString capture = QStringLiteral("Velmora-area-20261208-101500-cleaned.png");
    const bool killed = writeKilledAtStep(WriteStep::nameClaimed, 1, [&] {
        writeWholeFile(path(capture), "cleaned capture", ExistingEntry::keep);
    });
    EXPECT_EQ(killed, !takesNamesInOneStep());
    if (killed) {
        EXPECT_EQ(entriesOf(path()).size(), 2) << "the empty claim and the hidden bytes";
        EXPECT_TRUE(QFileInfo(path(capture)).isFile() && fileBytes(path(capture)).isEmpty());
    }

    ASSERT_TRUE(writeWholeFile(path("next-redacted.png"), "next", ExistingEntry::keep));
    const QStringList left = killed ? QStringList({"next-redacted.png"}) : QStringList({capture, "next-redacted.png"});
    EXPECT_EQ(entriesOf(path()), left);
}

// Names with characters FAT and exFAT refuse are written under names they hold, and a
// name FAT through FUSE takes only in ASCII is written so.
TEST_P(ExportFileSystems, EveryImageOfABatchIsWrittenWhateverItsName)
{
    QList<BatchExportJob> jobs;
    for (const char *source : {"plain.png", "meeting 10:30.png", "Capture d’écran 1.png", "zz.png"}) {
        const QUrl url = QUrl::fromLocalFile(QStringLiteral("/shots/") + QString::fromUtf8(source));
        jobs.append({redactedFileName(url, {}), ReviewImageSource::encode(plainImage(60)), {}});
    }
    const BatchExportOutcome outcome = exportBatch(jobs, path());

    ASSERT_TRUE(std::holds_alternative<QString>(outcome));
    const QString capture = GetParam().fileSystem == TestFileSystem::fatThroughFuse
                                ? QStringLiteral("Capture d'ecran 1-redacted.png")
                                : QStringLiteral("Capture d’écran 1-redacted.png");
    EXPECT_EQ(entriesOf(std::get<QString>(outcome)),
              QStringList({capture, "meeting 10-30-redacted.png", "plain-redacted.png", "zz-redacted.png"}));
}

INSTANTIATE_TEST_SUITE_P(Rows, ExportFileSystems, ::testing::Values(
    FileSystemRow{"LocalDisk", TestFileSystem::local},
    FileSystemRow{"FatThroughFuse", TestFileSystem::fatThroughFuse},
    FileSystemRow{"ExfatThroughFuse", TestFileSystem::exfatThroughFuse}), rowName);

struct KilledPublishRow
{
    const char *name;
    TestFileSystem fileSystem;
    WriteStep step; ///< Where the export is killed while it publishes its folder.
    int nth;        ///< The how-manieth time it reaches that step.
};

using KilledBatchPublish = OnFileSystem<KilledPublishRow>;

// A batch export killed while its folder takes its name (or the stick pulled out then)
// leaves the folder empty or saying that it is unfinished, never looking finished; the
// next export into the same folder finishes it, losing no image, and writes its own.
TEST_P(KilledBatchPublish, LeavesTheFolderUnfinishedForTheNextExportToFinish)
{
    const QList<BatchExportJob> jobs = plainJobs(12);
    const KilledPublishRow &row = GetParam();
    const bool killed = writeKilledAtStep(row.step, row.nth, [&] { exportBatch(jobs, path()); });
    EXPECT_EQ(killed, !takesNamesInOneStep());
    const QStringList left = entriesOf(path("Velmora Cleaned"));
    if (killed) {
        EXPECT_TRUE(left.isEmpty() || left.contains(unfinishedBatchExportMark)) << left.join(", ").toStdString();
    }

    const BatchExportOutcome next = exportBatch(jobs.mid(0, 2), path());
    ASSERT_TRUE(std::holds_alternative<QString>(next));
    EXPECT_EQ(std::get<QString>(next), path("Velmora Cleaned 2"));
    EXPECT_EQ(entriesOf(path()), QStringList({"Velmora Cleaned", "Velmora Cleaned 2"}));
    EXPECT_EQ(entriesOf(path("Velmora Cleaned")).size(), jobs.size()) << "the images, and nothing else";
    for (int i = 0; i < jobs.size(); ++i) {
        const QImage image = QImage::fromData(fileBytes(path("Velmora Cleaned/") + jobs.at(i).fileName));
        EXPECT_EQ(image.isNull() ? -1 : qGray(image.pixel(0, 0)), 10 * i + 20) << jobs.at(i).fileName.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, KilledBatchPublish, ::testing::Values(
    KilledPublishRow{"LocalDisk", TestFileSystem::local, WriteStep::batchFolderClaimed, 1},
    KilledPublishRow{"FatThroughFuseAtTheClaim", TestFileSystem::fatThroughFuse, WriteStep::batchFolderClaimed, 1},
    KilledPublishRow{"FatThroughFuseHalfWay", TestFileSystem::fatThroughFuse, WriteStep::batchFileMoved, 6},
    KilledPublishRow{"ExfatThroughFuseAtTheClaim", TestFileSystem::exfatThroughFuse, WriteStep::batchFolderClaimed, 1}),
    rowName);

} // namespace
} // namespace velmora::test
