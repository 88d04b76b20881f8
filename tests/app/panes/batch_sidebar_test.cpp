#include "app/kit/velmora_button.h"
#include "app/panes/batch_category_chip.h"
#include "app/panes/batch_queue_view.h"
#include "app/panes/batch_sidebar.h"

#include "app/panes/review_harness.h"
#include "support/event_loop.h"

#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

// Three scanned images, the first reviewed: an e-mail, nothing, an API key.
class BatchSidebarTest : public ::testing::Test
{
protected:
    BatchSidebarTest()
    {
        useTestLook();
        QList<BatchReviewItem> items;
        for (const char *name : {"one.png", "two.png", "three.png"})
            items.append(fileItem(QString::fromLatin1(name)));
        ids = {items[0].id, items[1].id, items[2].id};
        shown = {3, 3, 2, 1, 1, false, BatchReviewFilter::all,
                 {{FindingCategory::secrets, 1, 1}, {FindingCategory::emails, 1, 1}}, std::nullopt, items, ids[0]};
        sidebar = new BatchSidebar(&window);
        sidebar->showState(shown);
        window.resize(260, 800);
        window.show();
        queue = sidebar->queue();
    }

    template <typename T = QWidget>
    T *find(const QString &name) const
    {
        return window.findChild<T *>(name);
    }

    BatchSidebarState shown;
    QList<QUuid> ids;
    QWidget window;
    BatchSidebar *sidebar = nullptr;
    BatchQueueView *queue = nullptr;
};

} // namespace

TEST_F(BatchSidebarTest, EachArrowPressOrClickChoosesOnceAndArrowsWrap)
{
    QSignalSpy chosen(sidebar, &BatchSidebar::itemChosen);
    QTest::keyClick(queue, Qt::Key_Down);
    EXPECT_EQ(queue->currentRow(), 1);
    QTest::keyClick(queue, Qt::Key_Down);
    QTest::keyClick(queue, Qt::Key_Down);
    QTest::keyClick(queue, Qt::Key_Up);
    QTest::keyClick(queue, Qt::Key_Up, Qt::ShiftModifier);
    QTest::mouseClick(queue->viewport(), Qt::LeftButton, {}, queue->visualRect(queue->model()->index(0, 0)).center());
    EXPECT_EQ(chosen, QList<QVariantList>({{ids[1]}, {ids[2]}, {ids[0]}, {ids[2]}, {ids[1]}, {ids[0]}}));
}

TEST_F(BatchSidebarTest, ArrowsWithModifiersAreNotTheQueues)
{
    QSignalSpy chosen(sidebar, &BatchSidebar::itemChosen);
    for (Qt::KeyboardModifier modifier : {Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier})
        QTest::keyClick(queue, Qt::Key_Down, modifier);
    EXPECT_EQ(chosen.size(), 0);
    EXPECT_EQ(queue->currentRow(), 0);
}

TEST_F(BatchSidebarTest, AnUpdateIsNotAChoiceAndTakesNoFocus)
{
    QSignalSpy chosen(sidebar, &BatchSidebar::itemChosen);
    QWidget other(&window);
    other.setFocusPolicy(Qt::StrongFocus);
    other.setFocus();
    shown.selectedItem = ids[2];
    sidebar->showState(shown);
    sidebar->showState(shown);
    EXPECT_EQ(queue->currentRow(), 2);
    EXPECT_FALSE(queue->hasFocus());
    EXPECT_EQ(chosen.size(), 0);
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

    QSignalSpy filters(sidebar, &BatchSidebar::filterChosen);
    QSignalSpy categories(sidebar, &BatchSidebar::categoryChosen);
    QTest::mouseClick(find("batch-filter-clean"), Qt::LeftButton);
    QTest::mouseClick(find("batch-category-filter-secrets"), Qt::LeftButton);
    QTest::mouseClick(find("batch-category-filter-all"), Qt::LeftButton);
    EXPECT_EQ(filters, QList<QVariantList>({{QVariant::fromValue(BatchReviewFilter::clean)}}));
    const auto category = [](std::optional<FindingCategory> category) { return QVariantList{QVariant::fromValue(category)}; };
    EXPECT_EQ(categories, QList<QVariantList>({category(FindingCategory::secrets), category(std::nullopt)}));

    shown.category = FindingCategory::secrets;
    shown.visibleItems = {shown.visibleItems[2]};
    sidebar->showState(shown);
    EXPECT_TRUE(find<BatchCategoryChip>("batch-category-filter-secrets")->isSelected());
    EXPECT_FALSE(find("previous-batch-image-button")->isEnabled());
    EXPECT_EQ(find<QLabel>("batch-category-filter-summary")->text(), QStringLiteral("1 image · 1 finding"));
}

TEST_F(BatchSidebarTest, NoMatchingImageShowsTheNote)
{
    shown.filter = BatchReviewFilter::clean;
    shown.visibleItems.clear();
    sidebar->showState(shown);
    auto *note = find<QLabel>("batch-empty-filter-state");
    EXPECT_TRUE(note->isVisibleTo(&window));
    EXPECT_EQ(note->text(), QStringLiteral("No images match this filter."));
    EXPECT_FALSE(queue->isVisibleTo(&window));
    EXPECT_FALSE(find("next-batch-image-button")->isEnabled());
}

TEST_F(BatchSidebarTest, AScanShowsTheProgressBar)
{
    shown.isChecking = true;
    shown.processedCount = 2;
    sidebar->showState(shown);
    auto *bar = find<QProgressBar>("batch-scan-progress-bar");
    EXPECT_TRUE(bar->isVisibleTo(&window));
    EXPECT_EQ(bar->maximum(), 3);
    EXPECT_EQ(bar->value(), 2);
}
