#include "review_controller_fixture.h"

#include "app/review/decoded_image_cache.h"
#include "app/review/review_status_text.h"

#include "support/event_loop.h"
#include "support/file_bytes.h"
#include "support/image_bytes.h"
#include "support/row_name.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace velmora::test {
namespace {

// A batch read from real files, scanned; one file is then changed or removed on disk.
class ChangedFileExport : public ReviewControllerTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_out.isValid());
        for (const char *name : {"a.png", "b.png"})
            ASSERT_TRUE(writeBytes(m_in.filePath(name), encodedPng(plainImage(60, 80, 60))));
        controller.loadImageURLs({QUrl::fromLocalFile(m_in.path())}, QStringLiteral("Loaded."), true);
        drainScans();
        ASSERT_EQ(state().batch.items().size(), 2);
        for (int i = 0; i < 2; ++i) {
            engine.lastCall().finish();
            drainScans();
        }
        dialogs.folderAnswer = QUrl::fromLocalFile(m_out.path());
    }

    QTemporaryDir m_in;
    QTemporaryDir m_out;
};

TEST_F(ChangedFileExport, AGoneFileFailsTheBatchExportWithTheImportSentencesAndWritesNothing)
{
    ASSERT_TRUE(QFile::remove(m_in.filePath("b.png")));

    controller.runShareCommand(ShareAction::batchExport);
    drainScans();

    EXPECT_EQ(state().errorText(), ReviewText::unreadableImage);
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::tryAnotherImage);
    EXPECT_TRUE(entriesOf(m_out.path()).isEmpty());
}

TEST_F(ChangedFileExport, AFileChangedAfterImportIsNotExportedFromIt)
{
    ASSERT_TRUE(writeBytes(m_in.filePath("a.png"), encodedPng(plainImage(0, 90, 60))));

    controller.runShareCommand(ShareAction::batchExport);
    drainScans();

    EXPECT_EQ(state().errorText(), ReviewText::unreadableImage);
    EXPECT_TRUE(entriesOf(m_out.path()).isEmpty());
}

TEST_F(ChangedFileExport, UnchangedFilesAreExportedFromTheirSources)
{
    controller.runShareCommand(ShareAction::batchExport);
    drainScans();

    const QDir written(m_out.filePath(QStringLiteral("Velmora Cleaned")));
    EXPECT_EQ(written.entryList(QDir::Files, QDir::Name), QStringList({"a-redacted.png", "b-redacted.png"}));
    EXPECT_EQ(QImage(written.filePath("b-redacted.png")).pixel(5, 5), plainImage(60).pixel(5, 5));
}

TEST_F(ChangedFileExport, ABatchKeepsOnlyAFewDecodedImages)
{
    // Each item keeps its file's fingerprint, not its pixels.
    for (const ReviewDocument &item : state().batch.items()) {
        EXPECT_TRUE(item.source().encodedBytes().isEmpty());
        EXPECT_TRUE(item.source().filePath().has_value());
    }
}

struct UnreadableRow
{
    const char *name;
    /// Makes the file at the path unreadable as the image it was.
    void (*spoil)(const QString &path);
};

// More files read and scanned than the screen keeps decoded; one of them is then taken
// away or changed on disk, and shown again.
class UnreadableOnScreen : public ReviewControllerTest, public ::testing::WithParamInterface<UnreadableRow>
{
protected:
    void SetUp() override
    {
        const qsizetype count = DecodedImageCache::capacity + 2;
        for (qsizetype i = 0; i < count; ++i)
            ASSERT_TRUE(writeBytes(m_in.filePath(QStringLiteral("%1.png").arg(i)), encodedPng(plainImage(60 + i))));
        controller.loadImageURLs({QUrl::fromLocalFile(m_in.path())}, QStringLiteral("Loaded."), true);
        drainScans();
        ASSERT_EQ(state().batch.items().size(), count);
        // Each scan is finished once, as it starts: finishing one twice runs its
        // continuation again.
        for (int i = 0; i < int(count); ++i) {
            ASSERT_TRUE(waitUntil([&] { return engine.callCount() > i; }, "the next item's scan to start"));
            engine.call(i).finish();
            drainScans();
        }
    }

    QTemporaryDir m_in;
};

TEST_P(UnreadableOnScreen, SaysSoAndCopyAndExportSayWhyTheyCannotRun)
{
    GetParam().spoil(m_in.filePath(QStringLiteral("1.png")));
    controller.selectBatchItem(itemIDs().at(1));
    drainScans();

    EXPECT_TRUE(state().image().isNull());
    EXPECT_EQ(state().errorText(), ReviewText::unreadableImage);
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::fileUnreadableSinceOpened);
    for (const ShareAction action : {ShareAction::copy, ShareAction::export_}) {
        controller.selectFindingFilter(FindingFilter::all); // the status line moves on
        controller.runShareCommand(action);
        drainScans();
        EXPECT_EQ(state().errorText(), ReviewText::unreadableImage);
        EXPECT_EQ(state().reviewStatusNote(), ReviewText::fileUnreadableSinceOpened);
    }
    EXPECT_TRUE(clipboard.contents.isEmpty());
    EXPECT_TRUE(dialogs.saveRequests.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UnreadableOnScreen,
    ::testing::Values(UnreadableRow{"deleted", [](const QString &path) { ASSERT_TRUE(QFile::remove(path)); }},
                      UnreadableRow{"rewritten",
                                    [](const QString &path) { ASSERT_TRUE(writeBytes(path, encodedPng(plainImage(9)))); }}),
    rowName);

} // namespace
} // namespace velmora::test
