#include "app/review/review_command_routing.h"

#include "review_commands_fixture.h"

#include "app/commands/command_bus.h"
#include "app/commands/command_names.h"
#include "app/commands/detection_settings_notice.h"
#include "app/review/review_status_text.h"
#include "core/redaction/needs_review.h"

#include <QBuffer>

namespace velmora::test {
namespace {

class ReviewCommandRouting : public ReviewCommandsTest
{
protected:
    ReviewCommandRouting()
    {
        connectReviewCommands(controller, [this](std::function<void()> proceed) {
            ++m_questions;
            if (m_discards)
                proceed();
        });
        // An item whose finding was moved by the user and is selected, so that every
        // command has something to act on.
        BatchReviewItem item = scannedItem("a.png", {findingOf(DetectionKind::email, "Email", 0.2)});
        RedactionPlan moved = item.redactionPlan;
        m_id = moved.entries().first().id();
        moved.updateBounds(m_id, {0.4, 0.4, 0.2, 0.1});
        item.manualEditHistory.record(item.redactionPlan, moved);
        item.redactionPlan = moved;
        item.selectedDetectionID = m_id;
        loadUnscanned({item});
    }

    static void post(QLatin1StringView name) { CommandBus::instance().post(QString(name)); }

    QUuid m_id;
    int m_questions = 0;
    bool m_discards = true; ///< The answer to every question.
};

TEST_F(ReviewCommandRouting, FindingCommandsReachTheirOperations)
{
    post(commands::velmoraMakeAllFindingsVisible);
    EXPECT_EQ(activeEntryCount(state().redactionPlan()), 0);
    post(commands::velmoraRedactAllFindings);
    EXPECT_EQ(activeEntryCount(state().redactionPlan()), 1);

    post(commands::velmoraUndoManualEdit);
    EXPECT_TRUE(state().manualEditHistory().canRedo());
    post(commands::velmoraRedoManualEdit);
    EXPECT_TRUE(state().manualEditHistory().canUndo());
    EXPECT_FALSE(state().manualEditHistory().canRedo());

    post(commands::velmoraDeleteSelectedManualRedaction);
    EXPECT_TRUE(state().redactionPlan().entries().isEmpty());
}

TEST_F(ReviewCommandRouting, PreviewCopyExportAndClose)
{
    post(commands::velmoraToggleOutputPreview);
    EXPECT_TRUE(state().isPreviewingRedactedOutput);
    post(commands::velmoraCopyCleanedImage);
    waitForCleanedImage();
    EXPECT_EQ(clipboard.changes, 1);
    post(commands::velmoraExportCleanedImage);
    EXPECT_EQ(dialogs.saveRequests.size(), 1);
    post(commands::velmoraCloseCurrentReview);
    EXPECT_TRUE(state().image().isNull());
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::startPrompt);
}

TEST_F(ReviewCommandRouting, CloseAndPasteAskFirstAndAnswerNoKeepsTheReview)
{
    m_discards = false;
    const QImage shown = state().image();
    QImage pasted(10, 10, QImage::Format_RGB32);
    pasted.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    pasted.save(&buffer, "PNG");
    clipboard.contents = {{QStringLiteral("image/png"), png}};
    post(commands::velmoraCloseCurrentReview);
    post(commands::velmoraImportClipboardImage);
    EXPECT_EQ(m_questions, 2);
    EXPECT_EQ(state().image(), shown);
    EXPECT_TRUE(state().manualEditHistory().canUndo());
    post(commands::velmoraCopyCleanedImage);
    EXPECT_EQ(m_questions, 2) << "copying ends nothing";
}

TEST_F(ReviewCommandRouting, ADetectionSettingsChangeIsTakenAndRescheduled)
{
    postCustomDetectionSettingsChange(DetectionSettingsValues{QStringLiteral("Orion"), {}, {}, {}, {}});
    EXPECT_EQ(state().detectionSettings.customTermsText, "Orion");
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::customSettingsChanged);
    EXPECT_EQ(engine.callCount(), 0);
    clock.advance(std::chrono::milliseconds(650));
    EXPECT_EQ(engine.callCount(), 1);
}

TEST_F(ReviewCommandRouting, CommandsStopWithTheController)
{
    auto other = std::make_unique<ReviewController>(ReviewEnvironment{engine, *settings, clipboard, clock, dialogs});
    connectReviewCommands(*other, [](std::function<void()> proceed) { proceed(); });
    other.reset();
    post(commands::velmoraCopyCleanedImage);
    waitForCleanedImage();
    EXPECT_EQ(clipboard.changes, 1) << "only the living controller copied";
}

} // namespace
} // namespace velmora::test
