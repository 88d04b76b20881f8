#include "app/kit/velmora_button.h"
#include "app/panes/batch_category_chip.h"
#include "app/panes/batch_queue_view.h"
#include "app/panes/batch_sidebar.h"

#include "app/panes/review_harness.h"
#include "support/event_loop.h"

#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

class BatchSidebarTest : public ::testing::Test
{
protected:
    BatchSidebarTest()
    {
        BatchReviewItem first = fileItem(QStringLiteral("one.png"), 10);
        first.redactionPlan = RedactionPlan({findingAt(0)}, {}, {});
        BatchReviewItem second = fileItem(QStringLiteral("two.png"), 20);
        BatchReviewItem third = fileItem(QStringLiteral("three.png"), 30);
        third.redactionPlan = RedactionPlan({findingAt(0, DetectionKind::apiKey, QStringLiteral("API key"))}, {}, {});
        harness.load({first, second, third});
        ids = {first.id, second.id, third.id};
        sidebar = new BatchSidebar(harness.controller, &window);
        window.resize(260, 800);
        window.show();
        queue = sidebar->queue();
    }

    template <typename T = QWidget>
    T *find(const QString &name) const
    {
        return window.findChild<T *>(name);
    }

    ReviewHarness harness;
    QList<QUuid> ids;
    QWidget window;
    BatchSidebar *sidebar = nullptr;
    BatchQueueView *queue = nullptr;
};

} // namespace

TEST_F(BatchSidebarTest, EachArrowPressSelectsOnceAndWraps)
{
    ASSERT_EQ(harness.state().selectedBatchItemID, ids[0]);
    int selections = 0;
    QObject::connect(&harness.controller, &ReviewController::changed, [&] { ++selections; });
    QTest::keyClick(queue, Qt::Key_Down);
    EXPECT_EQ(harness.state().selectedBatchItemID, ids[1]);
    EXPECT_EQ(queue->currentRow(), 1);
    QTest::keyClick(queue, Qt::Key_Down);
    QTest::keyClick(queue, Qt::Key_Down);
    EXPECT_EQ(harness.state().selectedBatchItemID, ids[0]);
    QTest::keyClick(queue, Qt::Key_Up);
    EXPECT_EQ(harness.state().selectedBatchItemID, ids[2]);
    EXPECT_EQ(selections, 4); // one choice, one announcement per press
    QTest::keyClick(queue, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(harness.state().selectedBatchItemID, ids[1]);
}

TEST_F(BatchSidebarTest, ArrowsWithModifiersAreNotTheQueues)
{
    for (Qt::KeyboardModifier modifier : {Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier}) {
        QTest::keyClick(queue, Qt::Key_Down, modifier);
        EXPECT_EQ(harness.state().selectedBatchItemID, ids[0]);
    }
}

TEST_F(BatchSidebarTest, AnUpdateIsNotAChoiceAndTakesNoFocus)
{
    QWidget other(&window);
    other.setFocusPolicy(Qt::StrongFocus);
    other.setFocus();
    harness.controller.selectBatchItem(ids[2]);
    harness.controller.setAllFindingsIncluded(false);
    EXPECT_EQ(harness.state().selectedBatchItemID, ids[2]);
    EXPECT_EQ(queue->currentRow(), 2);
    EXPECT_FALSE(queue->hasFocus());
}

TEST_F(BatchSidebarTest, RowsAreNamedAfterTheirImages)
{
    QStringList identifiers;
    for (int row = 0; row < queue->model()->rowCount(); ++row)
        identifiers.append(queue->model()->index(row, 0).data(BatchQueueModel::IdentifierRole).toString());
    EXPECT_EQ(identifiers, (QStringList{"batch-row-one.png", "batch-row-two.png", "batch-row-three.png"}));
}

TEST_F(BatchSidebarTest, EveryFindingTypeChipIsWhollyInsideTheColumn)
{
    auto *chips = find<QWidget>("batch-category-chips");
    ASSERT_NE(chips, nullptr);
    const QList<QAbstractButton *> all = chips->findChildren<QAbstractButton *>();
    ASSERT_GE(all.size(), 2);
    for (const QAbstractButton *chip : all) {
        EXPECT_TRUE(chips->rect().contains(chip->geometry())) << chip->objectName().toStdString();
        EXPECT_EQ(chip->size(), chip->sizeHint()) << chip->objectName().toStdString();
    }
}

TEST_F(BatchSidebarTest, AClickChoosesTheCard)
{
    const QRect second = queue->visualRect(queue->model()->index(1, 0));
    QTest::mouseClick(queue->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(harness.state().selectedBatchItemID, ids[1]);
}

TEST_F(BatchSidebarTest, ProgressAndFilters)
{
    EXPECT_EQ(find<QLabel>("batch-scan-progress-label")->text(), QStringLiteral("3 of 3 scanned - 2 with findings - 1 clean"));
    EXPECT_EQ(find<QLabel>("batch-review-progress-label")->text(), QStringLiteral("Reviewed 1 of 2 with findings"));
    EXPECT_FALSE(find("batch-scan-progress-bar")->isVisibleTo(&window));
    EXPECT_TRUE(find("batch-category-filter-control")->isVisibleTo(&window));
    auto *secrets = find<BatchCategoryChip>("batch-category-filter-secrets");
    ASSERT_TRUE(secrets);
    EXPECT_EQ(secrets->count(), 1);
    EXPECT_EQ(secrets->accessibleName(), QStringLiteral("Filter batch by Secrets"));

    QTest::mouseClick(find("batch-filter-clean"), Qt::LeftButton);
    EXPECT_EQ(harness.state().batchFilter, BatchReviewFilter::clean);
    EXPECT_EQ(harness.state().selectedBatchItemID, ids[1]);
    EXPECT_FALSE(find("previous-batch-image-button")->isEnabled());
    QTest::mouseClick(find("batch-category-filter-secrets"), Qt::LeftButton);
    EXPECT_EQ(harness.state().batchFilter, BatchReviewFilter::findings);
    EXPECT_EQ(find<QLabel>("batch-category-filter-summary")->text(), QStringLiteral("1 image · 1 finding"));
}

TEST_F(BatchSidebarTest, NoMatchingImageShowsTheNote)
{
    harness.controller.selectBatchFilter(BatchReviewFilter::clean);
    harness.controller.setAllFindingsIncluded(false);
    // Scan the clean one again and let it find something: no clean image is left.
    harness.controller.startDetection();
    Detection found = findingAt(0);
    harness.engine.lastCall().finish({found});
    drainEvents();
    auto *note = find<QLabel>("batch-empty-filter-state");
    EXPECT_TRUE(note->isVisibleTo(&window));
    EXPECT_EQ(note->text(), QStringLiteral("No images match this filter."));
    EXPECT_FALSE(queue->isVisibleTo(&window));
    EXPECT_FALSE(find("next-batch-image-button")->isEnabled());
}

TEST_F(BatchSidebarTest, AScanShowsTheProgressBar)
{
    harness.controller.scanBatchItems({ids[1]});
    auto *bar = find<QProgressBar>("batch-scan-progress-bar");
    EXPECT_TRUE(bar->isVisibleTo(&window));
    EXPECT_EQ(bar->maximum(), 3);
    harness.drainScans();
    harness.engine.lastCall().finish();
    harness.drainScans();
    EXPECT_FALSE(bar->isVisibleTo(&window));
}
