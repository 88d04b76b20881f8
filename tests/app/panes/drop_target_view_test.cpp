#include "app/help/getting_started_checklist_view.h"
#include "app/panes/drop_target_view.h"

#include "app/panes/review_harness.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

TEST(DropTargetView, EachOfTheFourButtonsAsksForItsAction)
{
    ReviewHarness harness;
    DropTargetView view(*harness.settings);
    view.show();
    const struct {
        const char *button;
        void (DropTargetView::*signal)();
    } rows[] = {
        {"empty-open-image-button", &DropTargetView::openImageRequested},
        {"empty-paste-image-button", &DropTargetView::pasteImageRequested},
        {"empty-capture-area-button", &DropTargetView::captureAreaRequested},
        {"empty-open-batch-button", &DropTargetView::openBatchRequested},
    };
    for (const auto &row : rows) {
        QSignalSpy spy(&view, row.signal);
        auto *button = view.findChild<QPushButton *>(QString::fromLatin1(row.button));
        ASSERT_TRUE(button) << row.button;
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(spy.count(), 1) << row.button;
    }
}

TEST(DropTargetView, ChecklistShowsOnFreshSettingsAndIsGoneForGoodOnceHidden)
{
    ReviewHarness harness;
    {
        DropTargetView view(*harness.settings);
        view.show();
        QWidget *checklist = view.findChild<QWidget *>("empty-getting-started-checklist");
        ASSERT_TRUE(checklist);
        EXPECT_TRUE(checklist->isVisible());
        auto *card = checklist->findChild<GettingStartedChecklistView *>("getting-started-checklist");
        ASSERT_TRUE(card);
        EXPECT_TRUE(card->isCompact());
        QTest::mouseClick(view.findChild<QPushButton *>("getting-started-dismiss-button"), Qt::LeftButton);
        EXPECT_FALSE(view.checklist());
        EXPECT_FALSE(checklist->isVisible());
        EXPECT_TRUE(harness.settings->value(Setting::didDismissGettingStarted));
    }
    DropTargetView later(*harness.settings);
    EXPECT_FALSE(later.findChild<QWidget *>("empty-getting-started-checklist"));
    EXPECT_FALSE(later.checklist());
}
