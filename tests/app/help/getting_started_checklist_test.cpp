#include "app/help/getting_started_checklist_view.h"

#include "app/panes/review_harness.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {
const QStringList identifiers = {
    "getting-started-open-or-paste", "getting-started-review-finding", "getting-started-export-copy",
    "getting-started-capture-shortcuts", "getting-started-custom-term", "getting-started-protection-modes"};
} // namespace

TEST(GettingStartedChecklist, CompactFormShowsTitlesTheHideButtonAndTheHelpLine)
{
    ReviewHarness harness; // the look of the tests
    int dismissals = 0;
    GettingStartedChecklistView card(true, [&] { ++dismissals; });
    card.show();
    ASSERT_EQ(card.rows().size(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(card.rows()[i]->objectName(), identifiers[i]);
        EXPECT_FALSE(card.rows()[i]->detailLabel());
    }
    EXPECT_EQ(card.rows()[3]->titleLabel()->text(), QStringLiteral("Try Velmora Capture"));
    EXPECT_TRUE(card.findChild<QLabel *>("getting-started-more-help-copy"));
    QTest::mouseClick(card.findChild<QPushButton *>("getting-started-dismiss-button"), Qt::LeftButton);
    EXPECT_EQ(dismissals, 1);
    EXPECT_TRUE(card.isVisible()); // the owner hides it
}

TEST(GettingStartedChecklist, FullFormShowsDetailsWithoutButtonOrHelpLine)
{
    ReviewHarness harness;
    GettingStartedChecklistView card(false, {});
    ASSERT_EQ(card.rows().size(), 6);
    ASSERT_TRUE(card.rows()[3]->detailLabel());
    EXPECT_EQ(card.rows()[3]->detailLabel()->text(),
              QStringLiteral("Use Alt-Shift-1 for area, Alt-Shift-2 for window, or Alt-Shift-3 for screen by default."));
    EXPECT_TRUE(card.rows()[5]->detailLabel()->wordWrap());
    EXPECT_FALSE(card.findChild<QPushButton *>("getting-started-dismiss-button"));
    EXPECT_FALSE(card.findChild<QLabel *>("getting-started-more-help-copy"));
}

TEST(GettingStartedChecklist, EveryBuildMakesNewIds)
{
    const QList<VelmoraGuideItem> first = gettingStartedChecklistItems();
    const QList<VelmoraGuideItem> second = gettingStartedChecklistItems();
    ASSERT_EQ(first.size(), 6);
    EXPECT_NE(first[0].id, second[0].id);
    EXPECT_EQ(first[0].accessibilityID, second[0].accessibilityID);
}
