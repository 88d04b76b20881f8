#include "app/review/review_batch.h"

#include "review_test_items.h"

#include "support/row_name.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using C = FindingCategory;
using F = BatchReviewFilter;

struct VisibleRow
{
    const char *name;
    BatchReviewFilter filter;
    std::optional<FindingCategory> category;
    QStringList visible;
};

class VisibleItems : public ::testing::TestWithParam<VisibleRow>
{
};

TEST_P(VisibleItems, PassBothFilters)
{
    ReviewBatch batch;
    batch.replace(test::fiveDocuments());
    batch.setFilter(GetParam().filter);
    batch.setCategoryFilter(GetParam().category);
    EXPECT_EQ(test::namesOf(batch.visibleItems()), GetParam().visible);
}

INSTANTIATE_TEST_SUITE_P(Rows, VisibleItems, ::testing::Values(
    VisibleRow{"All", F::all, std::nullopt, {"failed.png", "clean.png", "reviewed.png", "card.png", "queued.png"}},
    VisibleRow{"Findings", F::findings, std::nullopt, {"reviewed.png", "card.png"}},
    VisibleRow{"CleanHidesTheFailedItem", F::clean, std::nullopt, {"clean.png"}},
    VisibleRow{"AccountCategoryShowsTheLabelledPhone", F::all, C::customerAccount, {"reviewed.png"}},
    VisibleRow{"PaymentsWithinFindings", F::findings, C::payments, {"card.png"}},
    VisibleRow{"CleanAndPeopleIsEmpty", F::clean, C::people, {}}),
    test::rowName);

class BatchSelection : public ::testing::Test
{
protected:
    void SetUp() override
    {
        batch.replace(test::fiveDocuments());
        for (const ReviewDocument &document : batch.items())
            ids.append(document.id());
        batch.select(ids[0]);
    }

    ReviewBatch batch;
    QList<QUuid> ids;
};

TEST_F(BatchSelection, TheFiltersCorrectEachOtherAndALoadResetsThem)
{
    batch.setFilter(F::clean);
    batch.setCategoryFilter(C::secrets);
    EXPECT_EQ(batch.filter(), F::findings) << "a type chosen while Clean is chosen switches to Findings";
    batch.setFilter(F::clean);
    EXPECT_FALSE(batch.categoryFilter()) << "choosing Clean clears the type";
    batch.setIncludesCleanExports(false);
    batch.replace(batch.items());
    EXPECT_EQ(batch.filter(), F::all);
    EXPECT_TRUE(batch.includesCleanExports());
    EXPECT_FALSE(batch.selectedID());
}

TEST_F(BatchSelection, StepsAndReselectionKeepToTheVisibleItems)
{
    EXPECT_EQ(batch.adjacentVisibleItem(-1), ids[4]);
    EXPECT_EQ(batch.adjacentVisibleItem(1), ids[1]);
    EXPECT_FALSE(batch.firstVisibleIfSelectionHidden());
    batch.setFilter(F::findings);
    EXPECT_EQ(batch.firstVisibleIfSelectionHidden(), ids[2]);
    EXPECT_EQ(batch.adjacentVisibleItem(1), ids[2]) << "from a hidden item the walk starts at the first";
    batch.select(ids[2]);
    EXPECT_EQ(batch.adjacentVisibleItem(1), ids[3]);
    batch.setFilter(F::clean);
    EXPECT_FALSE(batch.adjacentVisibleItem(1)) << "a single visible item does not move";
    batch.select(QUuid::createUuid());
    EXPECT_EQ(batch.current(), &batch.items()[2]) << "only an item of the batch is selected";
}

} // namespace
} // namespace velmora
