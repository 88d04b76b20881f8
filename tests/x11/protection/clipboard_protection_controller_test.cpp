#include "app/protection/clipboard_protection_controller.h"

#include "support/event_loop.h"
#include "support/file_bytes.h"
#include "support/row_name.h"
#include "support/xclip.h"
#include "x11/support/clipboard_fixture.h"
#include "x11/support/foreign_clipboard_owner.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <string>

using namespace velmora;
using namespace std::chrono_literals;

namespace {

class ClipboardGuardTest : public test::ClipboardFixture {};

} // namespace

TEST_F(ClipboardGuardTest, ImageOnTheClipboardAtStartIsNeverScanned)
{
    ASSERT_NO_FATAL_FAILURE(waitForForeignChange(
        [] { return test::xclipOffer(QStringLiteral("image/png"), test::encodedPng(testImage(Qt::red))); }));
    startGuard();
    advancePolls(10);
    EXPECT_TRUE(m_candidates.isEmpty());
}

TEST_F(ClipboardGuardTest, CopiedImageIsHandedOverOnceAtTheThirdPoll)
{
    startGuard(true, QStringLiteral("autoCleanEverything"));
    m_clock.advance(100ms); // Copied between two polls.
    const QByteArray png = test::encodedPng(testImage(Qt::green));
    ASSERT_NO_FATAL_FAILURE(waitForForeignChange([&] { return test::xclipOffer(QStringLiteral("image/png"), png); }));

    advancePolls(2); // Seen first by the poll at 450 ms, again at 900 ms.
    EXPECT_TRUE(m_candidates.isEmpty()) << "handed over before it settled";
    advancePolls(1);
    ASSERT_EQ(m_candidates.size(), 1);
    // Once the clipboard's owner answered the third poll that saw it (at 1350 ms, 0.9 s
    // after the first sighting and 1.25 s after the copy), before the next poll.
    EXPECT_GE(m_candidateTimes[0], 1350);
    EXPECT_LT(m_candidateTimes[0], 1800);
    EXPECT_EQ(m_candidates[0].data, png);
    EXPECT_EQ(m_candidates[0].changeCount, m_clipboard.changeCount());
    EXPECT_EQ(m_candidates[0].replacementMode, ClipboardProtectionReplacementMode::autoCleanEverything);

    advancePolls(10);
    EXPECT_EQ(m_candidates.size(), 1);
}

TEST_F(ClipboardGuardTest, PngIsChosenOverTiff)
{
    startGuard();
    const QImage image = testImage(Qt::blue);
    const QByteArray png = test::encodedPng(image);
    std::unique_ptr<test::ForeignClipboardOwner> owner;
    ASSERT_NO_FATAL_FAILURE(waitForForeignChange([&] {
        owner = std::make_unique<test::ForeignClipboardOwner>(
            QList<test::ForeignClipboardOwner::Target>{{QStringLiteral("image/tiff"), test::encodedImage(image, "TIFF")},
                                                       {QStringLiteral("image/png"), png}});
        return owner->ownsClipboard();
    }));
    ASSERT_TRUE(m_clipboard.types().contains(QStringLiteral("image/tiff")));

    advancePolls(3);
    ASSERT_EQ(m_candidates.size(), 1);
    EXPECT_EQ(m_candidates[0].data, png);
}

TEST_F(ClipboardGuardTest, UriListNamingAnImageFileIsHandedOverAsThatFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("shot one.png"));
    ASSERT_TRUE(testImage(Qt::magenta, 40, 30).save(path));
    const QByteArray png = test::fileBytes(path);
    startGuard();
    const QByteArray uriList = QUrl::fromLocalFile(path).toEncoded() + "\r\n";
    ASSERT_NO_FATAL_FAILURE(
        waitForForeignChange([&] { return test::xclipOffer(QStringLiteral("text/uri-list"), uriList); }));

    advancePolls(3);
    // The file is read on the thread pool.
    ASSERT_TRUE(test::waitUntil([&] { return m_guard.fileRead().isFinished(); }, "the file's read to end"));
    ASSERT_EQ(m_candidates.size(), 1);
    EXPECT_EQ(m_candidates[0].data, png);
    EXPECT_EQ(m_candidates[0].changeCount, m_clipboard.changeCount());
}

TEST_F(ClipboardGuardTest, UriListOfOtherFilesIsNotAnImage)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("notes.txt"));
    ASSERT_TRUE(test::writeBytes(path, "not an image"));
    startGuard();
    ASSERT_NO_FATAL_FAILURE(waitForForeignChange([&] {
        return test::xclipOffer(QStringLiteral("text/uri-list"), QUrl::fromLocalFile(path).toEncoded());
    }));

    advancePolls(6);
    EXPECT_TRUE(m_candidates.isEmpty());
    EXPECT_TRUE(m_guard.monitorPlan().handledChangeCounts().contains(m_clipboard.changeCount()));
}

struct OfferedFormatRow
{
    const char *name;
    const char *target;
    const char *format; ///< How the image is encoded; null: an SVG.
    bool handedOver;
};

class ClipboardGuardFormatTest : public test::ClipboardFixture, public ::testing::WithParamInterface<OfferedFormatRow> {};

// Only the image formats Velmora reads are taken, under their names or an alias; the
// others are never read, let alone decoded.
TEST_P(ClipboardGuardFormatTest, OnlyFormatsVelmoraReadsAreHandedOver)
{
    const OfferedFormatRow &row = GetParam();
    const QByteArray bytes = row.format ? test::encodedImage(testImage(Qt::yellow), row.format)
                                        : QByteArray("<svg xmlns='http://www.w3.org/2000/svg' width='48' height='32'/>");
    startGuard();
    ASSERT_NO_FATAL_FAILURE(
        waitForForeignChange([&] { return test::xclipOffer(QString::fromLatin1(row.target), bytes); }));

    advancePolls(3);
    ASSERT_EQ(m_candidates.size(), row.handedOver ? 1 : 0);
    if (row.handedOver) {
        EXPECT_EQ(m_candidates[0].data, bytes);
    } else {
        EXPECT_TRUE(m_guard.monitorPlan().handledChangeCounts().contains(m_clipboard.changeCount()));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ClipboardGuardFormatTest, ::testing::Values(
    OfferedFormatRow{"JpegUnderAnAlias", "image/pjpeg", "JPEG", true},
    OfferedFormatRow{"Bmp", "image/bmp", "BMP", false},
    OfferedFormatRow{"Svg", "image/svg+xml", nullptr, false}),
    test::rowName);

TEST_F(ClipboardGuardTest, UnreadableImageIsMarkedHandledAndNotRetried)
{
    startGuard();
    ASSERT_NO_FATAL_FAILURE(
        waitForForeignChange([] { return test::xclipOffer(QStringLiteral("image/png"), QByteArray("")); }));

    advancePolls(3);
    EXPECT_TRUE(m_candidates.isEmpty());
    EXPECT_TRUE(m_guard.monitorPlan().handledChangeCounts().contains(m_clipboard.changeCount()));
    advancePolls(6);
    EXPECT_TRUE(m_candidates.isEmpty());
}

TEST_F(ClipboardGuardTest, OwnWriteMarkedHandledIsNeverACandidate)
{
    startGuard();
    m_clipboard.write({{QStringLiteral("image/png"), test::encodedPng(testImage(Qt::cyan))}});
    m_guard.monitorPlan().markHandled(m_clipboard.changeCount());
    advancePolls(10);
    EXPECT_TRUE(m_candidates.isEmpty());

    // The marking is what keeps it out: an unmarked write of the same kind is scanned.
    m_clipboard.write({{QStringLiteral("image/png"), test::encodedPng(testImage(Qt::darkCyan))}});
    advancePolls(3);
    EXPECT_EQ(m_candidates.size(), 1);
}

TEST_F(ClipboardGuardTest, StopEndsPollingAndRestartForgetsThePlan)
{
    startGuard();
    const qint64 atStart = m_clipboard.changeCount();
    EXPECT_EQ(m_clock.pendingCount(), 1);
    m_guard.stop();
    EXPECT_FALSE(m_guard.isRunning());
    EXPECT_EQ(m_guard.runtimeStatus(), QStringLiteral("AutoClean, pause if unsure for clipboard images."));
    EXPECT_EQ(m_clock.pendingCount(), 0);
    EXPECT_TRUE(m_guard.monitorPlan().handledChangeCounts().empty());

    m_clipboard.write({{QStringLiteral("image/png"), test::encodedPng(testImage(Qt::gray))}});
    advancePolls(5);
    EXPECT_TRUE(m_candidates.isEmpty());
    startGuard();
    EXPECT_EQ(m_guard.monitorPlan().handledChangeCounts(), (std::set<qint64>{atStart + 1}));
    advancePolls(5);
    EXPECT_TRUE(m_candidates.isEmpty());
}

struct StatusRow {
    const char *name;
    bool enabled;
    const char *storedMode; // Empty: nothing stored.
    bool running;
    const char *status;
    ClipboardProtectionReplacementMode candidateMode;
};

class ClipboardGuardStatusTest : public test::ClipboardFixture, public ::testing::WithParamInterface<StatusRow> {};

TEST_P(ClipboardGuardStatusTest, StartReadsTheStoredSwitchAndMode)
{
    const StatusRow &row = GetParam();
    EXPECT_EQ(m_guard.runtimeStatus(), QStringLiteral("Clipboard protection is off."));
    startGuard(row.enabled, QString::fromLatin1(row.storedMode));
    EXPECT_EQ(m_guard.isRunning(), row.running);
    EXPECT_EQ(m_guard.runtimeStatus(), QString::fromUtf8(row.status));
    EXPECT_EQ(m_clock.pendingCount(), row.running ? 1 : 0);
    EXPECT_EQ(m_guard.currentReplacementMode(), row.candidateMode);

    m_clipboard.write({{QStringLiteral("image/png"), test::encodedPng(testImage(Qt::red))}});
    advancePolls(3);
    ASSERT_EQ(m_candidates.size(), row.running ? 1 : 0);
    if (row.running) {
        EXPECT_EQ(m_candidates[0].replacementMode, row.candidateMode);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ClipboardGuardStatusTest, ::testing::Values(
    StatusRow{"off", false, "autoCleanEverything", false, "Clipboard protection is off.",
              ClipboardProtectionReplacementMode::autoCleanEverything},
    StatusRow{"reviewFirst", true, "reviewFirst", true, "Review first for clipboard images.",
              ClipboardProtectionReplacementMode::reviewFirst},
    StatusRow{"pauseIfUnsure", true, "pauseIfUnsure", true, "AutoClean, pause if unsure for clipboard images.",
              ClipboardProtectionReplacementMode::pauseIfUnsure},
    StatusRow{"autoCleanEverything", true, "autoCleanEverything", true, "AutoClean everything for clipboard images.",
              ClipboardProtectionReplacementMode::autoCleanEverything},
    StatusRow{"legacyAskBeforeReplace", true, "askBeforeReplace", true, "Review first for clipboard images.",
              ClipboardProtectionReplacementMode::reviewFirst},
    StatusRow{"legacyAutoReplace", true, "autoReplace", true, "AutoClean, pause if unsure for clipboard images.",
              ClipboardProtectionReplacementMode::pauseIfUnsure},
    StatusRow{"nothingStored", true, "", true, "AutoClean, pause if unsure for clipboard images.",
              ClipboardProtectionReplacementMode::pauseIfUnsure},
    StatusRow{"unknownMode", true, "alwaysReplace", true, "AutoClean, pause if unsure for clipboard images.",
              ClipboardProtectionReplacementMode::pauseIfUnsure}),
    test::rowName);

TEST_F(ClipboardGuardTest, TurningTheSwitchOffAndStartingAgainReportsOff)
{
    startGuard(true, QStringLiteral("reviewFirst"));
    ASSERT_TRUE(m_guard.isRunning());
    startGuard(false, QString());
    EXPECT_FALSE(m_guard.isRunning());
    EXPECT_EQ(m_guard.runtimeStatus(), QStringLiteral("Clipboard protection is off."));
    EXPECT_EQ(m_clock.pendingCount(), 0);
}

TEST_F(ClipboardGuardTest, CandidateCallbackMayStopTheGuard)
{
    m_settings->setValue(Setting::isClipboardProtectionEnabled, true);
    int handed = 0;
    m_guard.start([&](const ClipboardImageCandidate &) {
        ++handed;
        m_guard.stop();
    });
    m_clipboard.write({{QStringLiteral("image/png"), test::encodedPng(testImage(Qt::red))}});
    advancePolls(3);
    EXPECT_EQ(handed, 1);
    EXPECT_FALSE(m_guard.isRunning());
    EXPECT_EQ(m_clock.pendingCount(), 0);
}

TEST_F(ClipboardGuardTest, PendingPollEndsWithTheGuard)
{
    auto guard = std::make_unique<ClipboardProtectionController>(m_clipboard, *m_settings, m_clock);
    m_settings->setValue(Setting::isClipboardProtectionEnabled, true);
    guard->start({});
    EXPECT_EQ(m_clock.pendingCount(), 1);
    guard.reset();
    EXPECT_EQ(m_clock.pendingCount(), 0);
    advancePolls(3);
}
