#include "app/review/batch_export.h"

#include "review_test_items.h"
#include "support/event_loop.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

QList<BatchExportJob> threeJobs()
{
    QList<BatchExportJob> jobs;
    for (int i = 0; i < 3; ++i)
        jobs.append({QStringLiteral("%1-redacted.png").arg(i), ReviewImageSource::encode(plainImage(50 + i)),
                     RedactionPlan()});
    return jobs;
}

TEST(BatchExportWriting, CountsEveryImageWrittenAndReturnsTheNewFolder)
{
    QTemporaryDir dir;
    QList<int> progress;
    const BatchExportOutcome outcome = writeBatchExport(
        threeJobs(), dir.path(), [&](int written) { progress.append(written); }, [] { return false; });

    ASSERT_TRUE(std::holds_alternative<QString>(outcome));
    EXPECT_EQ(entriesOf(std::get<QString>(outcome)), QStringList({"0-redacted.png", "1-redacted.png", "2-redacted.png"}));
    EXPECT_EQ(progress, QList<int>({1, 2, 3}));
}

TEST(BatchExportWriting, TheFolderTakesItsNameOnlyOnceEveryImageIsIn)
{
    QTemporaryDir dir;
    QList<QStringList> seenWhileWriting;
    const BatchExportOutcome outcome = writeBatchExport(
        threeJobs(), dir.path(), [&](int) { seenWhileWriting.append(entriesOf(dir.path())); }, [] { return false; });

    ASSERT_EQ(seenWhileWriting.size(), 3);
    for (const QStringList &entries : seenWhileWriting) {
        // Killed at any of these moments, the export would leave only a hidden folder that says it is incomplete.
        ASSERT_EQ(entries.size(), 1);
        EXPECT_TRUE(entries.first().startsWith(QStringLiteral(".Velmora Cleaned (incomplete) ")))
            << entries.first().toStdString();
    }
    ASSERT_TRUE(std::holds_alternative<QString>(outcome));
    EXPECT_EQ(std::get<QString>(outcome), dir.filePath(QStringLiteral("Velmora Cleaned")));
    EXPECT_EQ(entriesOf(dir.path()), QStringList({"Velmora Cleaned"}));
}

TEST(BatchExportWriting, AFolderThatTookTheNameMeanwhileIsNeverReplaced)
{
    QTemporaryDir dir;
    const QString taken = dir.filePath(QStringLiteral("Velmora Cleaned"));
    const BatchExportOutcome outcome = writeBatchExport(
        threeJobs(), dir.path(), [&](int written) { if (written == 3) QDir().mkdir(taken); }, [] { return false; });

    ASSERT_TRUE(std::holds_alternative<QString>(outcome));
    EXPECT_EQ(std::get<QString>(outcome), dir.filePath(QStringLiteral("Velmora Cleaned 2")));
    EXPECT_TRUE(entriesOf(taken).isEmpty());
    EXPECT_EQ(entriesOf(std::get<QString>(outcome)).size(), 3);
}

TEST(BatchExportWriting, ACancelPartWayRemovesWhatWasWrittenAndTheFolder)
{
    QTemporaryDir dir;
    int written = 0;
    const BatchExportOutcome outcome = writeBatchExport(
        threeJobs(), dir.path(), [&](int count) { written = count; }, [&] { return written >= 2; });

    ASSERT_TRUE(std::holds_alternative<BatchExportFailure>(outcome));
    EXPECT_EQ(std::get<BatchExportFailure>(outcome), BatchExportFailure::cancelled);
    EXPECT_TRUE(entriesOf(dir.path()).isEmpty());
}

TEST(BatchExportWriting, AnUnreadableImageFailsTheWholeExport)
{
    QTemporaryDir dir;
    QList<BatchExportJob> jobs = threeJobs();
    jobs[2].source = ReviewImageSource::fromBytes("not an image");
    const BatchExportOutcome outcome = writeBatchExport(jobs, dir.path(), [](int) {}, [] { return false; });

    ASSERT_TRUE(std::holds_alternative<BatchExportFailure>(outcome));
    EXPECT_EQ(std::get<BatchExportFailure>(outcome), BatchExportFailure::unreadableImage);
    EXPECT_TRUE(entriesOf(dir.path()).isEmpty());
}

// A name that no file system holds, not even in ASCII, is named in the failure, and
// nothing is written.
TEST(BatchExportWriting, ANameTheFolderCannotHoldIsNamedAndNothingIsWritten)
{
    QTemporaryDir dir;
    QList<BatchExportJob> jobs = threeJobs();
    jobs[1].fileName = QString(300, u'x') + QStringLiteral("-redacted.png");
    const BatchExportOutcome outcome = writeBatchExport(jobs, dir.path(), [](int) {}, [] { return false; });

    ASSERT_TRUE(std::holds_alternative<RefusedBatchFileName>(outcome));
    EXPECT_EQ(std::get<RefusedBatchFileName>(outcome).fileName, jobs[1].fileName);
    EXPECT_TRUE(entriesOf(dir.path()).isEmpty());
}

TEST(BatchExportRunner, ACancelledExportReportsCancelledOnTheMainThread)
{
    QTemporaryDir dir;
    BatchExport exporter;
    std::optional<BatchExportOutcome> outcome;
    exporter.start(threeJobs(), dir.path(), {}, [&](const BatchExportOutcome &end) { outcome = end; });
    exporter.cancel();
    exporter.future().waitForFinished();
    drainEvents();

    // However far the worker got, the end is reported once and nothing is left half done.
    ASSERT_TRUE(outcome.has_value());
    if (std::holds_alternative<BatchExportFailure>(*outcome))
        EXPECT_TRUE(entriesOf(dir.path()).isEmpty());
    else
        EXPECT_EQ(entriesOf(std::get<QString>(*outcome)).size(), 3);
}

} // namespace
} // namespace velmora::test
