#include "app/review/unsaved_manual_edits.h"
#include "app/window/discard_question.h"

#include "app/review/review_commands_fixture.h"
#include "support/row_name.h"

#include <QMessageBox>
#include <QWidget>

namespace velmora::test {
namespace {

struct FrontRow {
    const char *name;
    bool inFront;
    bool drawn;
    bool proceeds;
    bool waits;
    bool asks;
};

// Work arriving from outside the window: it replaces the review at once, asks first, or
// waits behind the banner while another application is in front.
class DiscardQuestionFrontTest : public ReviewCommandsTest, public ::testing::WithParamInterface<FrontRow>
{
protected:
    QWidget window;
    UnsavedManualEdits edits{controller};
    bool inFront = false;
    DiscardQuestion question{edits, [this] { return inFront; }, &window};
};

TEST_P(DiscardQuestionFrontTest, AsksOnlyInFrontAndOnlyWhenBoxesWouldBeLost)
{
    const FrontRow &row = GetParam();
    loadUnscanned({scannedItem("a.png", {findingOf(DetectionKind::email, QStringLiteral("Email"), 0.2)})});
    if (row.drawn)
        controller.addManualBox({0.5, 0.5, 0.2, 0.2});
    inFront = row.inFront;
    bool proceeded = false;
    bool waited = false;
    question.askOrWait([&] { proceeded = true; }, [&] { waited = true; });

    EXPECT_EQ(proceeded, row.proceeds);
    EXPECT_EQ(waited, row.waits);
    EXPECT_EQ(question.isAsking(), row.asks);
    EXPECT_EQ(window.findChild<QMessageBox *>(QStringLiteral("discard-manual-boxes")) != nullptr, row.asks);
}

INSTANTIATE_TEST_SUITE_P(Rows, DiscardQuestionFrontTest, ::testing::Values(
    FrontRow{"inFrontNothingDrawn", true, false, true, false, false},
    FrontRow{"inFrontWithDrawnBoxes", true, true, false, false, true},
    FrontRow{"behindNothingDrawn", false, false, true, false, false},
    FrontRow{"behindWithDrawnBoxes", false, true, false, true, false}), rowName);

} // namespace
} // namespace velmora::test
