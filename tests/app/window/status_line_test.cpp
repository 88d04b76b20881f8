#include "app/window/status_line.h"

#include "app/panes/review_harness.h"

#include <QLabel>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

TEST(StatusLine, AnErrorTakesTheLinesWidthAboveTheNote)
{
    test::useTestLook();
    ReviewState state;
    state.setErrorText(QStringLiteral("Export failed. Choose another save location."));
    state.setReviewStatusNote(QStringLiteral("No file was written."));
    StatusLine line;
    line.showState(state);
    line.resize(900, line.sizeHint().height());
    line.show();
    auto *error = line.findChild<QLabel *>(QStringLiteral("review-error-text"));
    auto *note = line.findChild<QLabel *>(QStringLiteral("review-status-note"));
    ASSERT_TRUE(error && note);
    EXPECT_TRUE(error->isVisible());
    // One line each: the bold error is not wrapped into a narrow column.
    EXPECT_LE(error->heightForWidth(error->width()), QFontMetrics(error->font()).lineSpacing() + 2);
    EXPECT_GT(error->width(), QFontMetrics(error->font()).horizontalAdvance(error->text()));
    EXPECT_LE(error->geometry().bottom(), note->geometry().top());
}

} // namespace
