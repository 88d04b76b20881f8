#include "app/protection/system_clipboard.h"
#include "app/protection/xcb_selection_reader.h"
#include "app/review/review_fixture.h"
#include "core/settings/settings_table.h"
#include "support/event_loop.h"
#include "support/image_bytes.h"
#include "support/xclip.h"
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
    /// Another application takes the clipboard with an image it never sends, or with
    /// `inPieces`, one it sends in pieces on cue.
    void announceImage(bool inPieces = false)
    {
        const QByteArray bytes = inPieces ? encodedPng(QImage(400, 300, QImage::Format_RGB32)) : QByteArray();
        ASSERT_NO_FATAL_FAILURE(waitForChange([&] {
            m_owner = std::make_unique<ForeignClipboardOwner>(
                QList<ForeignClipboardOwner::Target>{{QStringLiteral("image/png"), bytes}},
                inPieces ? ForeignClipboardOwner::Sending::piecesOnCue : ForeignClipboardOwner::Sending::atOnce);
            return m_owner->ownsClipboard();
        }));
    }

    /// Runs `take`, which makes another client own the clipboard, until Qt has seen it.
    void waitForChange(const std::function<bool()> &take)
    {
        const qint64 before = clipboard.changeCount();
        ASSERT_TRUE(take());
        ASSERT_TRUE(waitUntil([&] { return clipboard.changeCount() > before; }, "Qt to see the clipboard change"));
    }

    /// Runs the event loop until the owner has been asked for the image.
    void waitUntilTheImageIsAskedFor()
    {
        ASSERT_TRUE(waitUntil([&] { return m_owner->heldRequests() > 0; }, "the owner to be asked for the image"));
    }

    /// The guard runs, another application announces an image, and the guard asks for it:
    /// its first poll sees an image, its third finds it settled.
    void guardAsksForAnImage(bool inPieces = false)
    {
        settings->setValue(Setting::isClipboardProtectionEnabled, true);
        guard.start([this](const ClipboardImageCandidate &candidate) { candidates.append(candidate); });
        ASSERT_NO_FATAL_FAILURE(announceImage(inPieces));
        for (int poll = 0; poll < 3; ++poll) {
            clock.advance(ClipboardProtectionController::pollInterval);
            ASSERT_TRUE(waitUntil([&] { return !guard.isReadingClipboard() || m_owner->heldRequests() > 0; },
                                  "the poll's read to end or ask for the image"));
        }
        ASSERT_NO_FATAL_FAILURE(waitUntilTheImageIsAskedFor());
    }

    /// Whether the event loop goes on: a timer due at once fires.
    static bool eventLoopRuns()
    {
        bool fired = false;
        QTimer::singleShot(0, [&fired] { fired = true; });
        drainEvents();
        return fired;
    }

    /// The owner sends its next piece 2.5 s after the last one, and it is taken.
    void nextPiece()
    {
        clock.advance(std::chrono::milliseconds(2500));
        const int taken = m_owner->piecesTaken();
        m_owner->sendPiece();
        ASSERT_TRUE(waitUntil([&] { return m_owner->piecesTaken() > taken || !guard.isReadingClipboard(); },
                              "the piece to be taken"));
    }

    void copyAScreenshot()
    {
        waitForChange([this] { return xclipOffer(QStringLiteral("image/png"), screenshot); });
    }

    ReviewController controller{environment()};
    std::unique_ptr<ForeignClipboardOwner> m_owner;
    QList<ClipboardImageCandidate> candidates;
    const QByteArray screenshot = encodedPng(QImage(64, 48, QImage::Format_RGB32));
};

TEST_F(HungClipboardOwner, PasteImageKeepsTheWindowRunningThenFindsNoImage)
{
    ASSERT_NO_FATAL_FAILURE(announceImage());
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
    ASSERT_NO_FATAL_FAILURE(guardAsksForAnImage());
    EXPECT_TRUE(eventLoopRuns());
    EXPECT_TRUE(guard.isReadingClipboard());

    clock.advance(XcbSelectionReader::answerTime);
    drainEvents();
    EXPECT_FALSE(guard.isReadingClipboard());
    EXPECT_TRUE(candidates.isEmpty());
    EXPECT_TRUE(guard.monitorPlan().handledChangeCounts().contains(clipboard.changeCount()));
}

// Another application answers a request for its image incrementally, then sends a piece
// every 2.5 s, each within the time an owner has for one. It held up every later read of
// the clipboard for as long as it went on, after it had lost the clipboard too: a
// screenshot copied meanwhile stayed unguarded.
using SlowClipboardOwner = HungClipboardOwner;

TEST_F(SlowClipboardOwner, ItsImageIsGivenUpOnceTheWholeReadTakesTooLong)
{
    ASSERT_NO_FATAL_FAILURE(guardAsksForAnImage(true));
    for (int piece = 1; piece < XcbSelectionReader::readTime / std::chrono::milliseconds(2500); ++piece)
        ASSERT_NO_FATAL_FAILURE(nextPiece());
    EXPECT_TRUE(guard.isReadingClipboard()) << "given up before its time";
    ASSERT_NO_FATAL_FAILURE(nextPiece());
    drainEvents();
    EXPECT_FALSE(guard.isReadingClipboard());
    EXPECT_TRUE(candidates.isEmpty());
}

TEST_F(SlowClipboardOwner, AScreenshotCopiedMeanwhileIsGuardedAtOnce)
{
    ASSERT_NO_FATAL_FAILURE(guardAsksForAnImage(true));
    ASSERT_NO_FATAL_FAILURE(nextPiece());
    ASSERT_NO_FATAL_FAILURE(copyAScreenshot());
    for (int poll = 0; poll < 3 && candidates.isEmpty(); ++poll) {
        clock.advance(ClipboardProtectionController::pollInterval);
        ASSERT_TRUE(waitUntil([&] { return !guard.isReadingClipboard(); }, "the read of the new copy to end"))
            << "the read from the former owner holds up the new one";
    }
    ASSERT_EQ(candidates.size(), 1);
    EXPECT_EQ(candidates[0].data, screenshot);
}

TEST_F(SlowClipboardOwner, APasteFromItEndsOnceTheClipboardChangesOwner)
{
    ASSERT_NO_FATAL_FAILURE(announceImage(true));
    controller.pasteImageFromClipboard();
    ASSERT_NO_FATAL_FAILURE(waitUntilTheImageIsAskedFor());
    ASSERT_NO_FATAL_FAILURE(copyAScreenshot());
    drainEvents();
    EXPECT_EQ(controller.state().errorText(), "Clipboard does not contain an image Velmora can open.");
}

} // namespace
} // namespace velmora::test
