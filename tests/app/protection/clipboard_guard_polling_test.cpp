#include "app/protection/clipboard_protection_controller.h"

#include "core/settings/settings_table.h"
#include "support/event_loop.h"
#include "support/fake_clipboard.h"
#include "support/manual_clock.h"
#include "support/temp_settings.h"
#include "support/watched_fifo.h"

#include <QImage>
#include <QTest>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// While a list of files stays on the clipboard, an idle poll asks for the change count
// only: the list is read, and its files opened, once per change.
class ClipboardGuardPolling : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings->setValue(Setting::isClipboardProtectionEnabled, true);
        guard.start([this](const ClipboardImageCandidate &candidate) { candidates.append(candidate.changeCount); });
    }

    void copyImageFiles(int count)
    {
        QByteArray uriList;
        for (int i = 0; i < count; ++i) {
            const QString path = folder.filePath(QStringLiteral("shot%1.png").arg(i));
            ASSERT_TRUE(QImage(8, 8, QImage::Format_RGB32).save(path, "PNG"));
            uriList += QUrl::fromLocalFile(path).toEncoded() + "\r\n";
        }
        clipboard.write({{QStringLiteral("text/uri-list"), uriList}});
    }

    void advancePolls(int polls)
    {
        for (int i = 0; i < polls; ++i)
            clock.advance(ClipboardProtectionController::pollInterval);
    }

    void resetQueryCounts()
    {
        clipboard.changeCountQueries = 0;
        clipboard.typeQueries = 0;
        clipboard.dataQueries = 0;
    }

    QTemporaryDir folder;
    test::FakeClipboard clipboard;
    test::TempSettings settings;
    test::ManualClock clock;
    ClipboardProtectionController guard{clipboard, *settings, clock};
    QList<qint64> candidates;
};

TEST_F(ClipboardGuardPolling, ReadsAFileListOncePerChangeWhileItSettles)
{
    copyImageFiles(50);
    resetQueryCounts();
    advancePolls(2); // Seen, not yet settled.
    EXPECT_TRUE(candidates.isEmpty());
    EXPECT_EQ(clipboard.changeCountQueries, 2);
    EXPECT_EQ(clipboard.typeQueries, 1);
    EXPECT_EQ(clipboard.dataQueries, 1);
}

TEST_F(ClipboardGuardPolling, IdlePollsAfterTheScanAskForTheCountAlone)
{
    copyImageFiles(50);
    advancePolls(3);
    ASSERT_TRUE(test::waitUntil([&] { return guard.fileRead().isFinished(); }, "the file's read to end"));
    ASSERT_EQ(candidates, QList<qint64>{clipboard.changes});
    guard.monitorPlan().markHandled(clipboard.changes);
    resetQueryCounts();
    advancePolls(20);
    EXPECT_EQ(clipboard.changeCountQueries, 20);
    EXPECT_EQ(clipboard.typeQueries, 0);
    EXPECT_EQ(clipboard.dataQueries, 0);
    EXPECT_EQ(candidates.size(), 1);
}

TEST_F(ClipboardGuardPolling, ANewChangeIsTestedAgain)
{
    copyImageFiles(2);
    advancePolls(1);
    clipboard.write({{QStringLiteral("text/plain"), "no image"}});
    resetQueryCounts();
    advancePolls(5);
    EXPECT_EQ(clipboard.typeQueries, 1);
    EXPECT_TRUE(candidates.isEmpty());
}

// A copied file list naming a pipe: the guard never opens it (nothing would write to it,
// and the main thread would wait for ever); the change is left as holding no image.
TEST_F(ClipboardGuardPolling, AFileListNamingAPipeIsNeverOpened)
{
    test::WatchedFifo fifo(folder.filePath(QStringLiteral("shot.png")));
    ASSERT_TRUE(fifo.exists());
    clipboard.write({{QStringLiteral("text/uri-list"), QUrl::fromLocalFile(fifo.path()).toEncoded() + "\r\n"}});
    advancePolls(3);
    ASSERT_TRUE(test::waitUntil([&] { return guard.fileRead().isFinished(); }, "the file's read to end"));

    EXPECT_FALSE(fifo.wasOpened());
    EXPECT_TRUE(candidates.isEmpty());
    EXPECT_TRUE(guard.monitorPlan().handledChangeCounts().contains(clipboard.changes));
}

} // namespace
