#include "app/window/review_actions.h"

#include "app/review/review_commands_fixture.h"
#include "app/review/review_status_text.h"
#include "core/redaction/needs_review.h"
#include "support/image_bytes.h"

#include <QAction>

namespace velmora::test {
namespace {

class ReviewActionsTest : public ReviewCommandsTest
{
protected:
    ReviewActionsTest()
    {
        bindReviewActions(actions, controller, [this](std::function<void()> proceed) {
            ++m_questions;
            if (m_discards)
                proceed();
        });
        // An item whose finding was moved by the user and is selected, so that every
        // command has something to act on.
        ReviewDocument item = scannedItem("a.png", {findingOf(DetectionKind::email, "Email", 0.2)});
        m_id = item.redactionPlan().entries().first().id();
        item.moveBox(m_id, {0.4, 0.4, 0.2, 0.1});
        item.finishBoxEdit();
        item.select(m_id);
        loadUnscanned({item});
    }

    ReviewActions actions;
    QUuid m_id;
    int m_questions = 0;
    bool m_discards = true; ///< The answer to every question.
};

TEST_F(ReviewActionsTest, FindingCommandsReachTheirOperations)
{
    actions.makeAllVisible->trigger();
    EXPECT_EQ(activeEntryCount(state().redactionPlan()), 0);
    actions.redactAll->trigger();
    EXPECT_EQ(activeEntryCount(state().redactionPlan()), 1);

    actions.undo->trigger();
    EXPECT_TRUE(state().manualEditHistory().canRedo());
    actions.redo->trigger();
    EXPECT_TRUE(state().manualEditHistory().canUndo());
    EXPECT_FALSE(state().manualEditHistory().canRedo());

    actions.deleteSelected->trigger();
    EXPECT_TRUE(state().redactionPlan().entries().isEmpty());
}

TEST_F(ReviewActionsTest, PreviewCopyExportAndClose)
{
    actions.togglePreview->trigger();
    EXPECT_EQ(state().screen.mode(), CanvasMode::previewing);
    actions.copyCleaned->trigger();
    drainScans();
    EXPECT_EQ(clipboard.changes, 1);
    actions.exportCleaned->trigger();
    EXPECT_EQ(dialogs.saveRequests.size(), 1);
    actions.closeReview->trigger();
    EXPECT_TRUE(state().image().isNull());
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::startPrompt);
}

TEST_F(ReviewActionsTest, CloseAndPasteAskFirstAndAnswerNoKeepsTheReview)
{
    m_discards = false;
    const QImage shown = state().image();
    clipboard.contents = {{QStringLiteral("image/png"), encodedPng(plainImage(30, 10, 10))}};
    actions.closeReview->trigger();
    actions.pasteImage->trigger();
    EXPECT_EQ(m_questions, 2);
    EXPECT_EQ(state().image(), shown);
    EXPECT_TRUE(state().manualEditHistory().canUndo());
    actions.copyCleaned->trigger();
    EXPECT_EQ(m_questions, 2) << "copying ends nothing";
}

TEST_F(ReviewActionsTest, ActionsStopWithTheController)
{
    auto other = std::make_unique<ReviewController>(environment());
    bindReviewActions(actions, *other, [](std::function<void()> proceed) { proceed(); });
    other.reset();
    actions.copyCleaned->trigger();
    drainScans();
    EXPECT_EQ(clipboard.changes, 1) << "only the living controller copied";
}

} // namespace
} // namespace velmora::test
