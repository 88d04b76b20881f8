#include "app/review/clipboard_scan_flow.h"

#include "review_controller_fixture.h"

#include "core/analysis/import/image_input_limits.h"

#include "support/image_bytes.h"
#include "support/metadata_chunks.h"
#include "support/recording_notification_center.h"
#include "support/row_name.h"

namespace velmora::test {
namespace {

using namespace std::chrono_literals;
using Mode = ClipboardProtectionReplacementMode;

const QString replacedSentence =
    QStringLiteral("Clipboard replaced with a flattened cleaned PNG. Review before pasting into sensitive destinations.");
const QString openedBeforeChange =
    QStringLiteral("Clipboard image opened for review before Velmora changes the clipboard.");
const QString couldNotOpen =
    QStringLiteral("A clipboard image could not be opened. Clipboard contents were not changed.");

/// A finding over the left half of the image; below 0.8 it needs review.
Detection leftHalfFinding(double confidence)
{
    Detection detection = makeFinding({0, 0, 0.5, 1});
    detection.confidence = confidence;
    return detection;
}

/// One finding per confidence, each in a quarter of its own.
QList<Detection> findingsOf(const QList<double> &confidences)
{
    QList<Detection> findings;
    for (qsizetype i = 0; i < confidences.size(); ++i) {
        Detection detection = makeFinding({0.5 * double(i % 2), 0.5 * double(i / 2), 0.5, 0.5});
        detection.confidence = confidences.at(i);
        findings.append(detection);
    }
    return findings;
}

// The clipboard scan over an in-memory clipboard: another application's copy is a PNG
// carrying a text chunk, offered together with plain text.
class ClipboardScanTest : public ReviewControllerTest
{
protected:
    ClipboardScanTest()
    {
        QImage image = plainImage(200, 40, 30);
        image.setText(QStringLiteral("Comment"), QStringLiteral("ada@example.com"));
        m_copiedPng = encodedPng(image);
    }

    QList<ClipboardItem> copiedContents() const
    {
        return {{QStringLiteral("image/png"), m_copiedPng}, {QStringLiteral("text/plain"), "screenshot"}};
    }

    void copyImage() { clipboard.write(copiedContents()); }

    /// What the guard hands over for the clipboard as it is now.
    ClipboardImageCandidate candidate(Mode mode) const
    {
        return {clipboard.data(QStringLiteral("image/png")), clipboard.changeCount(), mode};
    }

    /// The guard hands the current clipboard over and the scan finds `findings`; an
    /// image paused for review is on screen afterwards.
    void scanCopiedImage(Mode mode, const QList<Detection> &findings)
    {
        const int callsBefore = engine.callCount();
        scan.scanClipboardImage(candidate(mode));
        finishPoolWork();
        ASSERT_EQ(engine.callCount(), callsBefore + 1);
        engine.lastCall().finish(findings);
        drainEvents();
        finishPoolWork();
    }

    void startGuard(Mode mode)
    {
        settings->setValue(Setting::isClipboardProtectionEnabled, true);
        settings->setValue(Setting::clipboardReplacementModeID, rawValue(mode));
        guard.start([this](const ClipboardImageCandidate &c) { scan.scanClipboardImage(c); });
    }

    /// Polls until a change is settled: the third poll that sees it.
    void advanceThroughSettle() { clock.advance(3 * ClipboardProtectionController::pollInterval); }

    bool isHandled(qint64 changeCount)
    {
        return guard.monitorPlan().handledChangeCounts().contains(changeCount);
    }

    QByteArray m_copiedPng;
    RecordingNotificationCenter notifications;
    bool isActive = true; ///< Whether Velmora is the application in front.
    ClipboardScanFlow scan{controller.intake(), clipboard, guard.monitorPlan(), autoCleanUndo, notifications,
                           [this] { return isActive; }};
};

// --- What the replacement mode does with the findings --------------------------------------

struct ModeRow
{
    const char *name;
    Mode mode;
    QList<double> confidences; ///< One finding each; below 0.8 it needs review.
    bool replaces;
    const char *status;
};

class ClipboardScanModes : public ClipboardScanTest, public ::testing::WithParamInterface<ModeRow>
{
};

TEST_P(ClipboardScanModes, ReplaceThePasteboardOrPauseForReview)
{
    const ModeRow &row = GetParam();
    copyImage();
    const qint64 copiedCount = clipboard.changeCount();
    scanCopiedImage(row.mode, findingsOf(row.confidences));

    EXPECT_EQ(state().reviewStatusNote(), QString::fromUtf8(row.status));
    EXPECT_TRUE(scan.scanningChangeCounts().isEmpty());
    ASSERT_TRUE(state().lastAutoCleanReviewItem.has_value());
    const ReviewIntakeImage &item = *state().lastAutoCleanReviewItem;
    EXPECT_EQ(item.displayLabel, "Clipboard image");
    EXPECT_EQ(item.sourceType, SafeShareSourceType::clipboardProtection);
    ASSERT_TRUE(item.plan.has_value());
    EXPECT_EQ(item.plan->entries().size(), row.confidences.size());
    EXPECT_EQ(item.selectedDetectionID, item.plan->entries().first().id());
    EXPECT_EQ(item.encodedBytes, copiedContents().first().second);
    EXPECT_FALSE(item.filePath.has_value());

    QList<SafeShareAction> actions;
    for (const SafeShareHistoryRecord &record : history()) {
        actions.append(record.action);
        EXPECT_EQ(record.sourceType, SafeShareSourceType::clipboardProtection);
        EXPECT_EQ(record.policySummary, "Current defaults");
        EXPECT_FALSE(record.outputPath.has_value());
    }

    if (row.replaces) {
        // Newest first: the scan, then the replacement.
        EXPECT_EQ(actions, (QList<SafeShareAction>{SafeShareAction::clipboardReplace, SafeShareAction::scan}));
        EXPECT_TRUE(state().image().isNull());
        EXPECT_EQ(clipboard.types(), QStringList{"image/png"});
        EXPECT_TRUE(isHandled(copiedCount));
        EXPECT_TRUE(isHandled(clipboard.changeCount()));
        const int n = int(row.confidences.size());
        EXPECT_EQ(banner().text(),
                  QStringLiteral("Clipboard protected · %1 %2 masked").arg(n).arg(n == 1 ? "item" : "items"));
        EXPECT_EQ(banner().primaryAction(), CompletionBannerAction::reviewLastAutoClean);
        EXPECT_EQ(banner().secondaryAction(), CompletionBannerAction::undoLastAutoClean);
        const auto &token = autoCleanUndo.token();
        ASSERT_TRUE(token.has_value());
        EXPECT_EQ(token->clipboardSnapshot, ClipboardUndoSnapshot{copiedContents()});
        EXPECT_EQ(token->clipboardOutputChangeCount, clipboard.changeCount());
        EXPECT_FALSE(token->generatedFileURL.has_value());
        EXPECT_EQ(item.statusSentence, replacedSentence);
    } else {
        EXPECT_EQ(actions, QList<SafeShareAction>{SafeShareAction::scan});
        EXPECT_EQ(clipboard.contents, copiedContents());
        EXPECT_EQ(clipboard.changeCount(), copiedCount);
        EXPECT_FALSE(state().image().isNull());
        ASSERT_EQ(state().batch.items().size(), 1);
        EXPECT_EQ(state().batch.items().first().redactionPlan(), *item.plan);
        EXPECT_EQ(state().selectedDetectionID(), state().redactionPlan().entries().first().id());
        EXPECT_EQ(item.statusSentence, QString::fromUtf8(row.status));
        EXPECT_FALSE(autoCleanUndo.token().has_value());
        EXPECT_FALSE(banner().text().has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ClipboardScanModes, ::testing::Values(
    ModeRow{"PauseIfUnsureConfidentFinding", Mode::pauseIfUnsure, {0.95}, true,
            "Clipboard replaced with a flattened cleaned PNG. Review before pasting into sensitive destinations."},
    ModeRow{"PauseIfUnsureOneFindingNeedingCheck", Mode::pauseIfUnsure, {0.95, 0.5}, false,
            "Clipboard image has 1 finding needing Check, so AutoClean paused for review."},
    ModeRow{"PauseIfUnsureTwoFindingsNeedingCheck", Mode::pauseIfUnsure, {0.5, 0.79}, false,
            "Clipboard image has 2 findings needing Check, so AutoClean paused for review."},
    ModeRow{"ReviewFirstConfidentFinding", Mode::reviewFirst, {0.95}, false,
            "Clipboard image opened for review before Velmora changes the clipboard."},
    ModeRow{"LegacyAskBeforeReplaceReviewsFirst", Mode::askBeforeReplace, {0.95}, false,
            "Clipboard image opened for review before Velmora changes the clipboard."},
    ModeRow{"LegacyAutoReplacePausesIfUnsure", Mode::autoReplace, {0.95, 0.95}, true,
            "Clipboard replaced with a flattened cleaned PNG. Review before pasting into sensitive destinations."},
    ModeRow{"AutoCleanEverythingFindingNeedingCheck", Mode::autoCleanEverything, {0.5}, true,
            "Clipboard replaced with a flattened cleaned PNG. Review before pasting into sensitive destinations."}),
    test::rowName);

// --- The replacement itself -------------------------------------------------------------------

TEST_F(ClipboardScanTest, TheReplacementIsAFlattenedPngWithoutMetadata)
{
    copyImage();
    scanCopiedImage(Mode::pauseIfUnsure, {leftHalfFinding(0.95)});

    const QByteArray png = clipboard.data(QStringLiteral("image/png"));
    EXPECT_EQ(pngMetadataChunks(png).join(','), QString());
    const QImage cleaned = QImage::fromData(png, "PNG");
    ASSERT_EQ(cleaned.size(), QSize(40, 30));
    EXPECT_EQ(cleaned.pixel(5, 15), qRgb(0, 0, 0));
    EXPECT_EQ(cleaned.pixel(35, 15), qRgb(200, 200, 200));
    EXPECT_TRUE(cleaned.textKeys().isEmpty());
}

TEST_F(ClipboardScanTest, UndoWithinEightSecondsRestoresTheCopyWhichIsNotScannedAgain)
{
    startGuard(Mode::pauseIfUnsure);
    copyImage();
    advanceThroughSettle();
    finishPoolWork();
    ASSERT_EQ(engine.callCount(), 1);
    engine.lastCall().finish({leftHalfFinding(0.95)});
    drainEvents();
    finishPoolWork();
    ASSERT_EQ(clipboard.types(), QStringList{"image/png"});
    // The replacement is ours: the guard leaves it alone.
    advanceThroughSettle();
    EXPECT_TRUE(scan.scanningChangeCounts().isEmpty());
    EXPECT_EQ(engine.callCount(), 1);

    clock.advance(6s);
    ASSERT_TRUE(autoCleanUndo.undo(guard));

    EXPECT_EQ(clipboard.contents, copiedContents());
    advanceThroughSettle();
    EXPECT_TRUE(scan.scanningChangeCounts().isEmpty());
    EXPECT_EQ(engine.callCount(), 1);
}

TEST_F(ClipboardScanTest, AReplacementTheClipboardRefusesLeavesItAsItWas)
{
    copyImage();
    clipboard.writesToRefuse = 1;
    scanCopiedImage(Mode::pauseIfUnsure, {leftHalfFinding(0.95)});

    EXPECT_EQ(clipboard.contents, copiedContents());
    // Putting the copy back is our own write: the guard must not take it for a new image.
    EXPECT_TRUE(isHandled(clipboard.changeCount()));
    EXPECT_EQ(state().errorText(), "Clipboard replacement failed. Review the image and try Copy instead.");
    EXPECT_EQ(state().reviewStatusNote(), "Clipboard contents were not changed.");
    EXPECT_FALSE(autoCleanUndo.token().has_value());
    EXPECT_FALSE(banner().text().has_value());
    ASSERT_EQ(history().size(), 1);
    EXPECT_EQ(history().first().action, SafeShareAction::scan);
}

TEST_F(ClipboardScanTest, TheReceiptOpensTheReplacedImageForReview)
{
    copyImage();
    scanCopiedImage(Mode::pauseIfUnsure, {leftHalfFinding(0.95)});

    controller.performBannerAction(CompletionBannerAction::reviewLastAutoClean);
    finishPoolWork();

    EXPECT_FALSE(state().image().isNull());
    EXPECT_EQ(state().redactionPlan().entries().size(), 1);
    EXPECT_EQ(state().reviewStatusNote(), replacedSentence);
}

TEST_F(ClipboardScanTest, InTheBackgroundTheReceiptIsANotification)
{
    isActive = false;
    copyImage();
    scan.scanClipboardImage(candidate(Mode::pauseIfUnsure));
    finishPoolWork();
    engine.lastCall().finish({leftHalfFinding(0.95)});
    drainEvents();
    finishPoolWork();

    EXPECT_FALSE(banner().text().has_value());
    ASSERT_EQ(notifications.added.size(), 1);
    EXPECT_EQ(notifications.added.first().title, QStringLiteral("Clipboard protected · 1 item masked"));
    EXPECT_EQ(notifications.added.first().body,
              QStringLiteral("Velmora replaced the image clipboard with a cleaned PNG after masking 1 item. "
                             "Open Velmora to review or undo recent AutoClean output."));
    EXPECT_TRUE(notifications.added.first().categoryIdentifier.isEmpty());
}

// --- Images without findings, failures and stops ---------------------------------------------

TEST_F(ClipboardScanTest, AnImageWithoutFindingsIsOnlyRecorded)
{
    copyImage();
    scanCopiedImage(Mode::autoCleanEverything, {});

    EXPECT_EQ(state().reviewStatusNote(), "Clipboard image scanned. No obvious sensitive content found.");
    EXPECT_EQ(clipboard.contents, copiedContents());
    EXPECT_FALSE(state().lastAutoCleanReviewItem.has_value());
    ASSERT_EQ(history().size(), 1);
    EXPECT_EQ(history().first().action, SafeShareAction::scan);
    EXPECT_EQ(history().first().sourceType, SafeShareSourceType::clipboardProtection);
    EXPECT_EQ(history().first().totalFindings, 0);
}

TEST_F(ClipboardScanTest, AnImageWithoutFindingsLeavesTheOpenReviewAlone)
{
    loadScanned({leftHalfFinding(0.95)});
    const ReviewState before = state();
    copyImage();
    scanCopiedImage(Mode::pauseIfUnsure, {});

    EXPECT_EQ(state().reviewStatusNote(), before.reviewStatusNote());
    EXPECT_EQ(state().batch.items(), before.batch.items());
    EXPECT_EQ(state().redactionPlan(), before.redactionPlan());
    EXPECT_EQ(history().size(), 1);
}

/// Why the clipboard's image is not scanned to the end.
enum class Failure {
    undecodable,      ///< The bytes are no image.
    pastTheSizeLimit, ///< A PNG with more bytes after it than an image file may hold, which the guard hands over.
    scanFails,
};

struct FailureRow
{
    const char *name;
    Failure failure;
    bool imageIsOpen;
};

class ClipboardScanFailures : public ClipboardScanTest, public ::testing::WithParamInterface<FailureRow>
{
};

TEST_P(ClipboardScanFailures, SayTheClipboardWasNotChangedUnlessAnImageIsOpen)
{
    const FailureRow &row = GetParam();
    if (row.imageIsOpen)
        loadScanned({leftHalfFinding(0.95)});
    const QString statusBefore = state().reviewStatusNote();
    const int callsBefore = engine.callCount();
    if (row.failure == Failure::undecodable) {
        clipboard.write({{QStringLiteral("image/png"), "not a picture"}});
        scan.scanClipboardImage(candidate(Mode::autoCleanEverything));
        finishPoolWork();
        EXPECT_EQ(engine.callCount(), callsBefore);
    } else if (row.failure == Failure::pastTheSizeLimit) {
        startGuard(Mode::autoCleanEverything);
        // What follows the PNG's end is no part of its image: it would decode as a small one.
        clipboard.write({{QStringLiteral("image/png"), m_copiedPng + QByteArray(kMaximumImageFileBytes, '\0')}});
        advanceThroughSettle();
        finishPoolWork();
        EXPECT_EQ(engine.callCount(), callsBefore);
    } else {
        copyImage();
        scan.scanClipboardImage(candidate(Mode::autoCleanEverything));
        finishPoolWork();
        ASSERT_EQ(engine.callCount(), callsBefore + 1);
        engine.lastCall().failText();
        engine.lastCall().finishVisual();
        drainEvents();
    }

    EXPECT_EQ(state().reviewStatusNote(), row.imageIsOpen ? statusBefore : couldNotOpen);
    EXPECT_TRUE(scan.scanningChangeCounts().isEmpty());
    EXPECT_TRUE(history().isEmpty());
    EXPECT_EQ(clipboard.types().first(), "image/png");
    EXPECT_EQ(clipboard.changeCount(), candidate(Mode::autoCleanEverything).changeCount);
}

INSTANTIATE_TEST_SUITE_P(Rows, ClipboardScanFailures, ::testing::Values(
    FailureRow{"UndecodableWithNothingOpen", Failure::undecodable, false},
    FailureRow{"UndecodableWithAnImageOpen", Failure::undecodable, true},
    // Refused as a file of that size is.
    FailureRow{"PastTheSizeLimitWithNothingOpen", Failure::pastTheSizeLimit, false},
    FailureRow{"ScanFailsWithNothingOpen", Failure::scanFails, false},
    FailureRow{"ScanFailsWithAnImageOpen", Failure::scanFails, true}),
    test::rowName);

TEST_F(ClipboardScanTest, ASecondHandOverOfTheSameChangeStartsNoSecondScan)
{
    copyImage();
    scan.scanClipboardImage(candidate(Mode::pauseIfUnsure));
    EXPECT_EQ(scan.scanningChangeCounts(), QList<qint64>{clipboard.changeCount()})
        << "claimed while it is decoded";
    scan.scanClipboardImage(candidate(Mode::pauseIfUnsure));
    finishPoolWork();
    EXPECT_EQ(engine.callCount(), 1);
    scan.scanClipboardImage(candidate(Mode::pauseIfUnsure));
    EXPECT_EQ(engine.callCount(), 1);
    EXPECT_EQ(scan.scanningChangeCounts(), QList<qint64>{clipboard.changeCount()});

    // Two changes are scanned side by side, each under its own count.
    copyImage();
    scan.scanClipboardImage(candidate(Mode::pauseIfUnsure));
    finishPoolWork();
    EXPECT_EQ(engine.callCount(), 2);
    EXPECT_EQ(scan.scanningChangeCounts().size(), 2);
}

/// Where the clipboard image's way is when the scans are stopped.
enum class Stage { decoding, scanning, rendering };

struct CancelRow
{
    const char *name;
    Stage stage;
};

class ClipboardScanCancel : public ClipboardScanTest, public ::testing::WithParamInterface<CancelRow>
{
};

TEST_P(ClipboardScanCancel, ReportsNothing)
{
    const Stage stage = GetParam().stage;
    copyImage();
    const QList<ClipboardItem> copied = clipboard.contents;
    scan.scanClipboardImage(candidate(Mode::autoCleanEverything));
    if (stage != Stage::decoding)
        finishPoolWork();
    if (stage == Stage::rendering) {
        // The scan is recorded right before its replacement is rendered: the scans stop there.
        std::optional<QList<qint64>> claimed;
        QObject::connect(&*settings, &StoredSettings::changed, &controller, [&] {
            if (claimed)
                return;
            claimed = scan.scanningChangeCounts();
            scan.cancelScans();
        });
        engine.lastCall().finish({leftHalfFinding(0.95)});
        drainEvents();
        ASSERT_TRUE(claimed.has_value());
        EXPECT_EQ(*claimed, QList<qint64>{clipboard.changeCount()}) << "claimed until the clipboard is replaced";
    } else {
        scan.cancelScans();
    }
    EXPECT_TRUE(scan.scanningChangeCounts().isEmpty());
    finishPoolWork();
    EXPECT_EQ(engine.callCount(), stage == Stage::decoding ? 0 : 1);
    if (stage == Stage::scanning) {
        engine.lastCall().finish({leftHalfFinding(0.95)});
        drainEvents();
        finishPoolWork();
    }

    EXPECT_EQ(clipboard.contents, copied);
    // Only a scan that ended is recorded, and no replacement.
    const QList<SafeShareHistoryRecord> records = history();
    ASSERT_EQ(records.size(), stage == Stage::rendering ? 1 : 0);
    if (!records.isEmpty()) {
        EXPECT_EQ(records.first().action, SafeShareAction::scan);
    }
    EXPECT_FALSE(state().lastAutoCleanReviewItem.has_value());
    EXPECT_FALSE(autoCleanUndo.token().has_value());
    EXPECT_NE(state().reviewStatusNote(), replacedSentence);
}

INSTANTIATE_TEST_SUITE_P(Rows, ClipboardScanCancel, ::testing::Values(
    CancelRow{"WhileDecoding", Stage::decoding},
    CancelRow{"WhileScanning", Stage::scanning},
    CancelRow{"WhileRendering", Stage::rendering}),
    test::rowName);

struct NewerCopyRow
{
    const char *name;
    Stage stage; ///< Where the image's way is when the user copies something else.
};

class ClipboardScanNewerCopy : public ClipboardScanTest, public ::testing::WithParamInterface<NewerCopyRow>
{
};

TEST_P(ClipboardScanNewerCopy, IsNeverReplaced)
{
    const Stage stage = GetParam().stage;
    const QList<ClipboardItem> newerCopy{{QStringLiteral("text/plain"), "copied next"}};
    copyImage();
    scan.scanClipboardImage(candidate(Mode::autoCleanEverything));
    if (stage == Stage::decoding)
        clipboard.write(newerCopy);
    finishPoolWork();
    ASSERT_EQ(engine.callCount(), 1);
    if (stage == Stage::scanning)
        clipboard.write(newerCopy);
    if (stage == Stage::rendering) {
        // The scan is recorded right before its replacement is rendered.
        QObject::connect(&*settings, &StoredSettings::changed, &controller, [&] {
            if (clipboard.contents != newerCopy)
                clipboard.write(newerCopy);
        });
    }
    engine.lastCall().finish({leftHalfFinding(0.95)});
    drainEvents();
    finishPoolWork();

    EXPECT_EQ(clipboard.contents, newerCopy);
    EXPECT_FALSE(autoCleanUndo.token().has_value());
    const QList<SafeShareHistoryRecord> records = history();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records.first().action, SafeShareAction::scan);
    EXPECT_FALSE(banner().text().has_value());
    EXPECT_TRUE(scan.scanningChangeCounts().isEmpty());
    // The image stays at hand for review, and nothing claims the clipboard was cleaned.
    ASSERT_TRUE(state().lastAutoCleanReviewItem.has_value());
    EXPECT_EQ(state().lastAutoCleanReviewItem->encodedBytes, m_copiedPng);
    ASSERT_TRUE(state().lastAutoCleanReviewItem->plan.has_value());
    EXPECT_EQ(state().lastAutoCleanReviewItem->plan->entries().size(), 1);
    EXPECT_EQ(state().reviewStatusNote(),
              "Clipboard image scanned. Review findings before pasting; clipboard contents were not changed.");
}

INSTANTIATE_TEST_SUITE_P(Rows, ClipboardScanNewerCopy, ::testing::Values(
    NewerCopyRow{"WhileDecoding", Stage::decoding},
    NewerCopyRow{"WhileScanning", Stage::scanning},
    NewerCopyRow{"WhileRendering", Stage::rendering}),
    test::rowName);

TEST_F(ClipboardScanTest, TheImageIsDecodedOffTheMainThreadBeforeItIsScanned)
{
    copyImage();
    scan.scanClipboardImage(candidate(Mode::reviewFirst));
    EXPECT_EQ(engine.callCount(), 0) << "the scan waits for the decoding, which runs on the thread pool";
    EXPECT_EQ(scan.scanningChangeCounts(), QList<qint64>{clipboard.changeCount()});
    finishPoolWork();
    ASSERT_EQ(engine.callCount(), 1);
    EXPECT_EQ(engine.lastCall().image.size(), QSize(40, 30));
    EXPECT_EQ(engine.lastCall().image.pixel(5, 5), qRgb(200, 200, 200));
}

TEST_F(ClipboardScanTest, TheAppsOwnCopyIsNeverScanned)
{
    loadScanned({leftHalfFinding(0.95)});
    startGuard(Mode::autoCleanEverything);
    const int callsBefore = engine.callCount();

    controller.runShareCommand(ShareAction::copy);
    finishPoolWork();
    ASSERT_EQ(clipboard.types(), QStringList{"image/png"});
    advanceThroughSettle();
    advanceThroughSettle();

    EXPECT_TRUE(scan.scanningChangeCounts().isEmpty());
    EXPECT_EQ(engine.callCount(), callsBefore);
}

TEST_F(ClipboardScanTest, TheGuardHandsACopiedImageToTheScanOnceSettled)
{
    startGuard(Mode::reviewFirst);
    copyImage();
    clock.advance(2 * ClipboardProtectionController::pollInterval);
    EXPECT_TRUE(scan.scanningChangeCounts().isEmpty());
    clock.advance(ClipboardProtectionController::pollInterval);
    finishPoolWork();
    ASSERT_EQ(engine.callCount(), 1);
    engine.lastCall().finish({leftHalfFinding(0.95)});
    drainEvents();
    finishPoolWork();

    EXPECT_EQ(state().reviewStatusNote(), openedBeforeChange);
    EXPECT_EQ(state().image().size(), QSize(40, 30));
}

} // namespace
} // namespace velmora::test
