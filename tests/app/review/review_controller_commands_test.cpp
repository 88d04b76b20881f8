#include "review_commands_fixture.h"

#include "app/review/manual_tool_states.h"
#include "app/review/review_queries.h"
#include "app/review/review_status_text.h"
#include "core/redaction/needs_review.h"

#include "support/image_bytes.h"

namespace velmora::test {
namespace {

using Step = ReviewController::ManualEditStep;

Detection email(double bottom) { return findingOf(DetectionKind::email, QStringLiteral("Email"), bottom); }

TEST_F(ReviewCommandsTest, CloseWithNothingLoadedDoesNothing)
{
    QSignalSpy changes(&controller, &ReviewController::changed);
    const QString note = state().reviewStatusNote();
    controller.closeCurrentReview();
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(state().reviewStatusNote(), note);
}

// A clipboard AutoClean with nothing open leaves its receipt banner, its review item and
// its undo, as the guard's scan hands them over: closing ends them as it does with an
// image open.
TEST_F(ReviewCommandsTest, CloseWithNothingOpenEndsABackgroundAutoClean)
{
    controller.setLastAutoCleanReviewItem({encodedPng(plainImage()), std::nullopt, QStringLiteral("Clipboard image"),
                                           SafeShareSourceType::clipboardProtection, RedactionPlan(), std::nullopt,
                                           QStringLiteral("Replaced.")});
    autoCleanUndo.registerToken(AutoCleanUndoToken{});
    controller.showCompletionBanner(QStringLiteral("Clipboard cleaned"), CompletionBannerAction::undoLastAutoClean,
                                    CompletionBannerAction::reviewLastAutoClean);
    ASSERT_FALSE(hasActiveReview(state()));

    controller.closeCurrentReview();

    EXPECT_FALSE(autoCleanUndo.token().has_value());
    EXPECT_FALSE(state().lastAutoCleanReviewItem.has_value());
    EXPECT_FALSE(banner().text().has_value());
    EXPECT_EQ(clock.pendingCount(), 0) << "the banner's and the undo's timers were cancelled";
}

TEST_F(ReviewCommandsTest, CloseReturnsToTheStartState)
{
    loadUnscanned({scannedItem("a.png", {email(0.2)}), scannedItem("b.png", {})});
    controller.setKeepsManualEditingAfterCommit(true);
    controller.setIncludesCleanBatchExports(false);
    controller.setOutputPreview(true);
    controller.runShareCommand(ShareAction::copy);
    drainScans();
    ASSERT_FALSE(state().redactedPreviewImage.isNull());
    ASSERT_TRUE(banner().text().has_value());
    autoCleanUndo.registerToken(AutoCleanUndoToken{});
    ASSERT_TRUE(autoCleanUndo.token().has_value());

    controller.closeCurrentReview();

    const ReviewState &s = state();
    EXPECT_TRUE(s.image().isNull());
    EXPECT_TRUE(s.redactionPlan().entries().isEmpty());
    EXPECT_TRUE(s.batchItems.isEmpty());
    EXPECT_FALSE(s.selectedBatchItemID.has_value());
    EXPECT_FALSE(s.keepsManualEditingAfterCommit);
    EXPECT_FALSE(s.isPreviewingRedactedOutput);
    EXPECT_TRUE(s.redactedPreviewImage.isNull());
    EXPECT_TRUE(s.includesCleanBatchExports);
    EXPECT_FALSE(banner().text().has_value());
    EXPECT_FALSE(s.sourceImageURL().has_value());
    EXPECT_FALSE(s.errorText().has_value());
    EXPECT_FALSE(autoCleanUndo.token().has_value());
    EXPECT_EQ(s.reviewStatusNote(), ReviewText::startPrompt);
    EXPECT_FALSE(hasActiveReview(s));
    // The banner's timer was cancelled with it.
    EXPECT_EQ(clock.pendingCount(), 0);
}

TEST_F(ReviewCommandsTest, CloseCancelsTheRunningScan)
{
    controller.loadBatch({fileItem("a.png")}, QStringLiteral("Image loaded. Scanning on device..."), 0, true);
    ASSERT_TRUE(state().isChecking());
    controller.closeCurrentReview();
    engine.lastCall().finish({email(0.2)});
    drainEvents();
    EXPECT_FALSE(state().isChecking());
    EXPECT_TRUE(state().redactionPlan().entries().isEmpty());
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::startPrompt);
}

TEST_F(ReviewCommandsTest, RedactAllAndMakeAllVisibleLeaveTheEditHistoryAlone)
{
    BatchReviewItem item = scannedItem("a.png", {email(0.2), email(0.5)});
    RedactionPlan drawn = item.redactionPlan;
    ASSERT_TRUE(drawn.addManualRedaction(QStringLiteral("Manual redaction"), QStringLiteral("Added by the user."),
                                         {0.5, 0.5, 0.2, 0.2}));
    item.manualEditHistory.record(item.redactionPlan, drawn);
    item.redactionPlan = drawn;
    loadUnscanned({item});
    const ManualRedactionEditHistory history = state().manualEditHistory();

    controller.setAllFindingsIncluded(false);
    EXPECT_EQ(activeEntryCount(state().redactionPlan()), 0);
    EXPECT_EQ(state().manualEditHistory(), history);
    EXPECT_EQ(state().reviewStatusNote(), reviewHint(state().redactionPlan()));
    EXPECT_EQ(state().batchItems.first().redactionPlan, state().redactionPlan());

    controller.setAllFindingsIncluded(true);
    EXPECT_EQ(activeEntryCount(state().redactionPlan()), 3);
    EXPECT_EQ(state().manualEditHistory(), history);
}

TEST_F(ReviewCommandsTest, RedactAllWithoutAnImageKeepsTheStartSentence)
{
    controller.setAllFindingsIncluded(true);
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::startPrompt);
}

TEST_F(ReviewCommandsTest, DrawEndsThePreviewAndOffRecomputesTheStatus)
{
    loadUnscanned({scannedItem("a.png", {email(0.2)})});
    controller.setOutputPreview(true);
    ASSERT_FALSE(state().redactedPreviewImage.isNull());
    EXPECT_EQ(state().reviewStatusNote(), "Previewing the exact flattened output for copy and export.");

    controller.setManualEditing(true);
    EXPECT_TRUE(state().isManualEditing);
    EXPECT_FALSE(state().isPreviewingRedactedOutput);
    EXPECT_TRUE(state().redactedPreviewImage.isNull());
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::drawManualRedaction);

    controller.setManualEditing(false);
    EXPECT_FALSE(state().isManualEditing);
    EXPECT_EQ(state().reviewStatusNote(), reviewHint(state().redactionPlan()));
}

TEST_F(ReviewCommandsTest, DrawStaysOffWithoutAnImageOrWhileScanning)
{
    controller.setManualEditing(true);
    EXPECT_FALSE(state().isManualEditing);
    controller.loadBatch({fileItem("a.png")}, QStringLiteral("Image loaded. Scanning on device..."), 0, true);
    controller.setManualEditing(true);
    EXPECT_FALSE(state().isManualEditing);
}

TEST_F(ReviewCommandsTest, PreviewTogglesAndStaysOffWithoutAnImage)
{
    controller.toggleOutputPreview();
    EXPECT_FALSE(state().isPreviewingRedactedOutput);
    loadUnscanned({scannedItem("a.png", {email(0.2)})});
    controller.setManualEditing(true);
    controller.toggleOutputPreview();
    EXPECT_TRUE(state().isPreviewingRedactedOutput);
    EXPECT_FALSE(state().isManualEditing);
    controller.toggleOutputPreview();
    EXPECT_FALSE(state().isPreviewingRedactedOutput);
    EXPECT_EQ(state().reviewStatusNote(), reviewHint(state().redactionPlan()));
}

// An automatic finding that was moved: source `user`, original bounds kept.
BatchReviewItem itemWithMovedFinding()
{
    BatchReviewItem item = scannedItem("a.png", {email(0.2)});
    RedactionPlan moved = item.redactionPlan;
    const QUuid id = moved.entries().first().id();
    EXPECT_TRUE(moved.updateBounds(id, {0.4, 0.4, 0.2, 0.1}));
    item.manualEditHistory.record(item.redactionPlan, moved);
    item.redactionPlan = moved;
    item.selectedDetectionID = id;
    return item;
}

TEST_F(ReviewCommandsTest, ResetAndDeleteFollowTheSelectedBox)
{
    loadUnscanned({scannedItem("a.png", {email(0.2)})});
    controller.selectDetection(entryIDs().first());
    ManualToolInputs inputs = manualToolInputs(state());
    EXPECT_FALSE(inputs.hasAdjustedSelection) << "never moved";
    EXPECT_FALSE(inputs.hasManualSelection) << "automatic";
    controller.resetSelectedBounds();
    controller.deleteSelectedManualRedaction();
    EXPECT_EQ(state().redactionPlan().entries().size(), 1);
    EXPECT_FALSE(state().manualEditHistory().canUndo());

    loadUnscanned({itemWithMovedFinding()});
    const QUuid id = entryIDs().first();
    inputs = manualToolInputs(state());
    EXPECT_TRUE(inputs.hasAdjustedSelection);
    EXPECT_TRUE(inputs.hasManualSelection) << "a moved box is the user's";

    controller.resetSelectedBounds();
    const Detection reset = state().redactionPlan().entries().first().detection;
    EXPECT_EQ(reset.source, DetectionSource::deterministic);
    EXPECT_TRUE(rectNear(reset.normalizedBounds, {0.1, 0.2, 0.3, 0.04}));
    EXPECT_EQ(state().selectedDetectionID(), id) << "the reset box stays selected";
    EXPECT_EQ(state().reviewStatusNote(), "Selected box reset to its original detected bounds.");
    inputs = manualToolInputs(state());
    EXPECT_FALSE(inputs.hasAdjustedSelection);
    EXPECT_FALSE(inputs.hasManualSelection) << "automatic again";

    controller.applyManualEditHistoryStep(Step::undo);
    EXPECT_TRUE(rectNear(state().redactionPlan().entries().first().detection.normalizedBounds, {0.4, 0.4, 0.2, 0.1}));
    EXPECT_TRUE(manualToolInputs(state()).hasManualSelection);

    controller.deleteSelectedManualRedaction();
    EXPECT_TRUE(state().redactionPlan().entries().isEmpty());
    EXPECT_FALSE(state().selectedDetectionID().has_value());
    EXPECT_TRUE(state().batchItems.first().redactionPlan.entries().isEmpty());
    controller.applyManualEditHistoryStep(Step::undo);
    EXPECT_EQ(entryIDs(), QList<QUuid>({id}));
}

TEST_F(ReviewCommandsTest, UndoTurnsDrawModeOffOnlyWhenItChangedSomething)
{
    loadUnscanned({scannedItem("a.png", {email(0.2)})});
    controller.setManualEditing(true);
    controller.applyManualEditHistoryStep(Step::undo);
    EXPECT_TRUE(state().isManualEditing) << "nothing to undo";

    loadUnscanned({itemWithMovedFinding()});
    controller.setManualEditing(true);
    controller.applyManualEditHistoryStep(Step::undo);
    EXPECT_FALSE(state().isManualEditing);
    EXPECT_TRUE(state().manualEditHistory().canRedo());
    controller.setManualEditing(true);
    controller.applyManualEditHistoryStep(Step::redo);
    EXPECT_FALSE(state().isManualEditing);
    EXPECT_TRUE(rectNear(state().redactionPlan().entries().first().detection.normalizedBounds, {0.4, 0.4, 0.2, 0.1}));
}

TEST_F(ReviewCommandsTest, EditsWaitWhileAScanRuns)
{
    loadUnscanned({itemWithMovedFinding()});
    controller.startDetection();
    ASSERT_TRUE(state().isChecking());
    const RedactionPlan plan = state().redactionPlan();
    controller.applyManualEditHistoryStep(Step::undo);
    controller.resetSelectedBounds();
    controller.deleteSelectedManualRedaction();
    EXPECT_EQ(state().redactionPlan(), plan);
    const ManualToolState undo = manualToolState(ManualTool::undo, manualToolInputs(state()));
    EXPECT_FALSE(undo.isEnabled);
    EXPECT_EQ(undo.help, "Undo the last manual change.");
}

TEST_F(ReviewCommandsTest, KeepDrawingChangesOnlyThroughItsToggleAndClosing)
{
    loadUnscanned({scannedItem("a.png", {})});
    controller.setKeepsManualEditingAfterCommit(true);
    controller.setManualEditing(true);
    controller.setManualEditing(false);
    EXPECT_TRUE(state().keepsManualEditingAfterCommit);
    controller.closeCurrentReview();
    EXPECT_FALSE(state().keepsManualEditingAfterCommit);
}

TEST_F(ReviewCommandsTest, DetectionSettingsFromTheNoticeOrTheStore)
{
    const DetectionSettingsValues noticed{QStringLiteral("Orion\nVega"), {}, QStringLiteral("ok"), {}, QByteArray("{}")};
    controller.applyCustomDetectionSettings(noticed);
    EXPECT_EQ(state().detectionSettings, noticed);

    settings->setValue(Setting::customTermsText, QStringLiteral("Stored"));
    controller.applyCustomDetectionSettings(std::nullopt);
    EXPECT_EQ(state().detectionSettings.customTermsText, "Stored");
    EXPECT_EQ(state().detectionSettings.allowlistText, "");
}


} // namespace
} // namespace velmora::test
