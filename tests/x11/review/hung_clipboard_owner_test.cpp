#include "app/protection/system_clipboard.h"
#include "app/protection/xcb_selection_reader.h"
#include "app/review/review_fixture.h"
#include "core/settings/settings_table.h"
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

// Another application answers the guard's request for an image with an incremental
// answer and then sends a piece every 2.5 s, each within the time an owner has for a
// piece. It held up every later read of the clipboard for as long as it went on, after
// it had lost the clipboard too: a screenshot copied meanwhile stayed unguarded.
class SlowClipboardOwner : public HungClipboardOwner
{
protected:
    static constexpr std::chrono::milliseconds piecePause{2500};

    void offerTheImageInPieces()
    {
        const qint64 before = clipboard.changeCount();
        m_owner = std::make_unique<ForeignClipboardOwner>(
            QList<ForeignClipboardOwner::Target>{{QStringLiteral("image/png"), encodedPng(QImage(400, 300, QImage::Format_RGB32))}},
            ForeignClipboardOwner::Sending::piecesOnCue);
        ASSERT_TRUE(m_owner->ownsClipboard());
        ASSERT_TRUE(QTest::qWaitFor([&] { return clipboard.changeCount() > before; }, 10000));
    }

    /// Another application takes the clipboard with a screenshot.
    void copyAScreenshot()
    {
        const qint64 before = clipboard.changeCount();
        ASSERT_TRUE(xclipOffer(QStringLiteral("image/png"), screenshot));
        ASSERT_TRUE(QTest::qWaitFor([&] { return clipboard.changeCount() > before; }, 10000));
    }

    /// Starts the guard and lets it ask the slow owner for its image.
    void guardWhileTheImageTrickles()
    {
        settings->setValue(Setting::isClipboardProtectionEnabled, true);
        guard.start([this](const ClipboardImageCandidate &candidate) { candidates.append(candidate); });
        ASSERT_NO_FATAL_FAILURE(offerTheImageInPieces());
        // Seen as an image by the first poll, settled by the third, which asks for it.
        for (int poll = 0; poll < 3; ++poll) {
            clock.advance(ClipboardProtectionController::pollInterval);
            ASSERT_TRUE(QTest::qWaitFor([&] { return !guard.isReadingClipboard() || m_owner->heldRequests() > 0; }));
        }
        ASSERT_NO_FATAL_FAILURE(waitUntilTheImageIsAskedFor());
        ASSERT_TRUE(guard.isReadingClipboard());
    }

    /// The owner sends its next piece 2.5 s after the last one, and the guard takes it.
    void nextPiece()
    {
        clock.advance(piecePause);
        const int taken = m_owner->piecesTaken();
        m_owner->sendPiece();
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_owner->piecesTaken() > taken || !guard.isReadingClipboard(); }));
    }

    const QByteArray screenshot = encodedPng(QImage(64, 48, QImage::Format_RGB32));
    QList<ClipboardImageCandidate> candidates;
};

TEST_F(SlowClipboardOwner, ItsImageIsGivenUpOnceTheWholeReadTakesTooLong)
{
    ASSERT_NO_FATAL_FAILURE(guardWhileTheImageTrickles());
    // Each piece comes well within the time for one.
    for (auto since = piecePause; since < XcbSelectionReader::readTime; since += piecePause)
        ASSERT_NO_FATAL_FAILURE(nextPiece());
    EXPECT_TRUE(guard.isReadingClipboard()) << "given up before its time";

    ASSERT_NO_FATAL_FAILURE(nextPiece());
    drainEvents();
    EXPECT_FALSE(guard.isReadingClipboard());
    EXPECT_TRUE(candidates.isEmpty());
    EXPECT_TRUE(guard.monitorPlan().handledChangeCounts().contains(clipboard.changeCount()));
}

TEST_F(SlowClipboardOwner, AScreenshotCopiedMeanwhileIsGuardedAtOnce)
{
    ASSERT_NO_FATAL_FAILURE(guardWhileTheImageTrickles());
    ASSERT_NO_FATAL_FAILURE(nextPiece());
    ASSERT_NO_FATAL_FAILURE(copyAScreenshot());

    // The former owner goes on sending, but the guard reads the new image as it would any.
    for (int poll = 0; poll < 3 && candidates.isEmpty(); ++poll) {
        clock.advance(ClipboardProtectionController::pollInterval);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !guard.isReadingClipboard(); }, 10000))
            << "the read from the former owner holds up the new one";
    }
    ASSERT_EQ(candidates.size(), 1);
    EXPECT_EQ(candidates[0].data, screenshot);
    EXPECT_EQ(candidates[0].changeCount, clipboard.changeCount());
}

TEST_F(SlowClipboardOwner, APasteFromItEndsOnceTheClipboardChangesOwner)
{
    ASSERT_NO_FATAL_FAILURE(offerTheImageInPieces());
    controller.pasteImageFromClipboard();
    ASSERT_NO_FATAL_FAILURE(waitUntilTheImageIsAskedFor());
    ASSERT_NO_FATAL_FAILURE(copyAScreenshot());
    drainEvents();
    EXPECT_EQ(controller.state().errorText(), "Clipboard does not contain an image Velmora can open.")
        << "the paste still waits for an image the clipboard no longer holds";
}

} // namespace
} // namespace velmora::test
