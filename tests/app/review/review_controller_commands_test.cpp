#include "review_commands_fixture.h"

#include "app/review/manual_tool_states.h"
#include "app/review/review_queries.h"
#include "app/review/review_status_text.h"

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
    controller.intake().setLastAutoCleanReviewItem({encodedPng(plainImage()), std::nullopt, QStringLiteral("Clipboard image"),
                                                    SafeShareSourceType::clipboardProtection, RedactionPlan(), std::nullopt,
                                                    QStringLiteral("Replaced.")});
    autoCleanUndo.registerToken(AutoCleanUndoToken{});
    controller.intake().showCompletionBanner(QStringLiteral("Clipboard cleaned"), CompletionBannerAction::undoLastAutoClean,
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
    ASSERT_FALSE(state().screen.preview().isNull());
    ASSERT_TRUE(banner().text().has_value());
    autoCleanUndo.registerToken(AutoCleanUndoToken{});
    ASSERT_TRUE(autoCleanUndo.token().has_value());

    controller.closeCurrentReview();

    const ReviewState &s = state();
    EXPECT_TRUE(s.image().isNull());
    EXPECT_TRUE(s.redactionPlan().entries().isEmpty());
    EXPECT_TRUE(s.batch.items().isEmpty());
    EXPECT_FALSE(s.batch.selectedID().has_value());
    EXPECT_FALSE(s.keepsManualEditingAfterCommit);
    EXPECT_NE(s.screen.mode(), CanvasMode::previewing);
    EXPECT_TRUE(s.screen.preview().isNull());
    EXPECT_TRUE(s.batch.includesCleanExports());
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
    drainScans();
    ASSERT_TRUE(state().isChecking());
    controller.closeCurrentReview();
    engine.lastCall().finish({email(0.2)});
    drainEvents();
    EXPECT_FALSE(state().isChecking());
    EXPECT_TRUE(state().redactionPlan().entries().isEmpty());
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::startPrompt);
}

TEST_F(ReviewCommandsTest, RedactAllWithoutAnImageKeepsTheStartSentence)
{
    controller.setAllFindingsIncluded(true);
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::startPrompt);
}

TEST_F(ReviewCommandsTest, DrawAndPreviewStayOffWithoutAnImageAndDrawWhileScanning)
{
    controller.setManualEditing(true);
    controller.setOutputPreview(true);
    EXPECT_EQ(state().screen.mode(), CanvasMode::reviewing);
    controller.loadBatch({fileItem("a.png")}, QStringLiteral("Image loaded. Scanning on device..."), 0, true);
    drainScans();
    controller.setManualEditing(true);
    EXPECT_NE(state().screen.mode(), CanvasMode::drawing);
}

TEST_F(ReviewCommandsTest, DrawAndPreviewEndEachOtherAndEndingEitherRecomputesTheStatus)
{
    loadUnscanned({scannedItem("a.png", {email(0.2)})});
    controller.setOutputPreview(true);
    drainScans();
    ASSERT_FALSE(state().screen.preview().isNull());
    EXPECT_EQ(state().reviewStatusNote(), "Previewing the exact flattened output for copy and export.");

    controller.setManualEditing(true);
    EXPECT_EQ(state().screen.mode(), CanvasMode::drawing);
    EXPECT_NE(state().screen.mode(), CanvasMode::previewing);
    EXPECT_TRUE(state().screen.preview().isNull());
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::drawManualRedaction);

    controller.setOutputPreview(true);
    EXPECT_EQ(state().screen.mode(), CanvasMode::previewing);
    EXPECT_NE(state().screen.mode(), CanvasMode::drawing);
    controller.setOutputPreview(false);
    EXPECT_NE(state().screen.mode(), CanvasMode::previewing);
    EXPECT_EQ(state().reviewStatusNote(), reviewHint(state().redactionPlan()));

    controller.setManualEditing(true);
    controller.setManualEditing(false);
    EXPECT_NE(state().screen.mode(), CanvasMode::drawing);
    EXPECT_EQ(state().reviewStatusNote(), reviewHint(state().redactionPlan()));
}

// An automatic finding that was moved: source `user`, original bounds kept.
ReviewDocument itemWithMovedFinding()
{
    ReviewDocument item = scannedItem("a.png", {email(0.2)});
    const QUuid id = item.redactionPlan().entries().first().id();
    EXPECT_TRUE(item.moveBox(id, {0.4, 0.4, 0.2, 0.1}) && item.finishBoxEdit() && item.select(id));
    return item;
}

TEST_F(ReviewCommandsTest, ResetSaysSoAndLeavesTheBoxAutomatic)
{
    loadUnscanned({itemWithMovedFinding()});
    EXPECT_TRUE(manualToolInputs(state()).hasAdjustedSelection);
    controller.resetSelectedBounds();
    EXPECT_EQ(state().reviewStatusNote(), "Selected box reset to its original detected bounds.");
    EXPECT_FALSE(manualToolInputs(state()).hasManualSelection) << "automatic again";
}

TEST_F(ReviewCommandsTest, UndoTurnsDrawModeOffOnlyWhenItChangedSomething)
{
    loadUnscanned({scannedItem("a.png", {email(0.2)})});
    controller.setManualEditing(true);
    controller.applyManualEditHistoryStep(Step::undo);
    EXPECT_EQ(state().screen.mode(), CanvasMode::drawing) << "nothing to undo";

    loadUnscanned({itemWithMovedFinding()});
    controller.setManualEditing(true);
    controller.applyManualEditHistoryStep(Step::undo);
    EXPECT_NE(state().screen.mode(), CanvasMode::drawing);
    EXPECT_TRUE(state().manualEditHistory().canRedo());
    controller.setManualEditing(true);
    controller.applyManualEditHistoryStep(Step::redo);
    EXPECT_NE(state().screen.mode(), CanvasMode::drawing);
    EXPECT_TRUE(rectNear(state().redactionPlan().entries().first().detection.normalizedBounds, {0.4, 0.4, 0.2, 0.1}));
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
