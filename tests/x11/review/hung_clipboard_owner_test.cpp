#include "app/protection/system_clipboard.h"
#include "app/protection/xcb_selection_reader.h"
#include "app/review/review_fixture.h"
#include "core/settings/settings_table.h"
#include "x11/support/foreign_clipboard_owner.h"

#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace velmora::test {
namespace {

// Another application announces an image on the X clipboard and never sends it, as one
// that hangs does. Qt's own reads waited for it with the event loop stopped, seconds on
// end; Paste Image and the clipboard guard now wait with the window running, and give up
// once the manual clock has passed the time an owner has to answer.
class HungClipboardOwner : public ::testing::Test, protected ReviewServicesOver<FakeScanEngine, SystemClipboard>
{
protected:
    void announceImageNeverSent()
    {
        const qint64 before = clipboard.changeCount();
        m_owner = std::make_unique<ForeignClipboardOwner>(
            QList<ForeignClipboardOwner::Target>{{QStringLiteral("image/png"), QByteArray()}});
        ASSERT_TRUE(m_owner->ownsClipboard());
        ASSERT_TRUE(QTest::qWaitFor([&] { return clipboard.changeCount() > before; }, 10000));
    }

    /// Runs the event loop until the owner has been asked for the image.
    void waitUntilTheImageIsAskedFor()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_owner->heldRequests() > 0; }, 10000));
    }

    /// Whether the event loop goes on: a timer due at once fires.
    static bool eventLoopRuns()
    {
        bool fired = false;
        QTimer::singleShot(0, [&fired] { fired = true; });
        drainEvents();
        return fired;
    }

    ReviewController controller{environment()};
    std::unique_ptr<ForeignClipboardOwner> m_owner;
};

TEST_F(HungClipboardOwner, PasteImageKeepsTheWindowRunningThenFindsNoImage)
{
    ASSERT_NO_FATAL_FAILURE(announceImageNeverSent());
    controller.pasteImageFromClipboard();
    ASSERT_NO_FATAL_FAILURE(waitUntilTheImageIsAskedFor());
    EXPECT_TRUE(eventLoopRuns());
    EXPECT_EQ(controller.state().errorText(), std::nullopt) << "the paste ended before the window ran on";

    clock.advance(XcbSelectionReader::answerTime);
    drainEvents();
    EXPECT_EQ(controller.state().errorText(), "Clipboard does not contain an image Velmora can open.");
    EXPECT_TRUE(controller.state().batch.items().isEmpty());
}

TEST_F(HungClipboardOwner, TheClipboardGuardKeepsTheWindowRunningThenLetsTheChangeGo)
{
    settings->setValue(Setting::isClipboardProtectionEnabled, true);
    QList<ClipboardImageCandidate> candidates;
    guard.start([&candidates](const ClipboardImageCandidate &candidate) { candidates.append(candidate); });
    ASSERT_NO_FATAL_FAILURE(announceImageNeverSent());
    // Seen as an image by the first poll, settled by the third, which asks for it.
    for (int poll = 0; poll < 3; ++poll) {
        clock.advance(ClipboardProtectionController::pollInterval);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !guard.isReadingClipboard() || m_owner->heldRequests() > 0; }));
    }
    ASSERT_NO_FATAL_FAILURE(waitUntilTheImageIsAskedFor());
    EXPECT_TRUE(eventLoopRuns());
    EXPECT_TRUE(guard.isReadingClipboard());

    clock.advance(XcbSelectionReader::answerTime);
    drainEvents();
    EXPECT_FALSE(guard.isReadingClipboard());
    EXPECT_TRUE(candidates.isEmpty());
    EXPECT_TRUE(guard.monitorPlan().handledChangeCounts().contains(clipboard.changeCount()));
}

} // namespace
} // namespace velmora::test
