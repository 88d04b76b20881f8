#include "app/review/review_queries.h"

#include "review_test_items.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using K = DetectionKind;
using C = FindingCategory;

class ReviewQueries : public ::testing::Test
{
protected:
    void SetUp() override { state.batch.replace(test::fiveDocuments()); }

    ReviewDocument &document(int index) { return *state.batch.document(state.batch.items().at(index).id()); }

    ReviewState state;
};

TEST_F(ReviewQueries, BatchCounts)
{
    EXPECT_EQ(processedBatchItems(state), 4);
    EXPECT_EQ(batchItemsWithFindings(state), 2);
    EXPECT_EQ(cleanBatchItems(state), 1);
    EXPECT_EQ(reviewedBatchItemsWithFindings(state), 1);
    EXPECT_EQ(batchNeedsReviewCount(state), 1);
    EXPECT_FALSE(isBatchChecking(state));
    document(4).beginScan();
    EXPECT_TRUE(isBatchChecking(state));
}

TEST_F(ReviewQueries, CategoryCountsInCategoryOrder)
{
    document(3).setFindingsActive(false, {document(3).redactionPlan().entries()[0].id()});
    const QList<BatchCategoryCount> expected{
        {C::emails, 1, 1}, {C::customerAccount, 1, 1}, {C::payments, 1, 1}, {C::phones, 1, 1}};
    EXPECT_EQ(batchCategoryCounts(state), expected);
}

TEST_F(ReviewQueries, ExportableItemsLeaveOutTheUnscannedOne)
{
    EXPECT_EQ(test::namesOf(exportableBatchItems(state)), (QStringList{"failed.png", "clean.png", "reviewed.png", "card.png"}));
    EXPECT_EQ(unscannedBatchItems(state), 1);
    document(4).addManualBox({0.6, 0.5, 0.2, 0.1});
    EXPECT_EQ(exportableBatchItems(state).size(), 4) << "boxes drawn on it do not make it scanned";
    state.batch.setIncludesCleanExports(false);
    EXPECT_EQ(test::namesOf(exportableBatchItems(state)), (QStringList{"reviewed.png", "card.png"}));
}

TEST_F(ReviewQueries, ActiveReview)
{
    ReviewState empty;
    EXPECT_FALSE(hasActiveReview(empty));
    empty.captureTask = TaskHandle();
    EXPECT_TRUE(hasActiveReview(empty));
    EXPECT_TRUE(hasActiveReview(state));
}

TEST_F(ReviewQueries, WarningCountsTheBatchOnlyForBatchExport)
{
    document(2).adoptOwnPlan(RedactionPlan({test::findingOf(K::email, "Email", 0.8, 0.4)}, {}, {}), {});
    EXPECT_EQ(shareNeedsReviewCount(state, ShareAction::batchExport), 2);
    EXPECT_TRUE(reviewWarningMessage(state, ShareAction::batchExport).startsWith("2 findings marked"));
    document(2).adoptOwnPlan(RedactionPlan(), {});
    EXPECT_TRUE(reviewWarningMessage(state, ShareAction::batchExport).startsWith("1 finding marked"));
    for (const ShareAction action : {ShareAction::copy, ShareAction::export_})
        EXPECT_TRUE(reviewWarningMessage(state, action).startsWith("0 findings marked"));
}

TEST_F(ReviewQueries, TitleAndDisplayedImage)
{
    ReviewState review;
    EXPECT_EQ(sourceTitle(review), "Velmora");
    const ReviewDocument item = ReviewDocument::make(QUrl::fromLocalFile("/shots/ticket.png"), QStringLiteral("Window capture"),
                                                     {}, ReviewImageSource::encode(test::plainImage(10)), {});
    review.batch.replace({item});
    review.batch.select(item.id());
    review.screen.show(item.id(), ScreenBitmap::of(test::plainImage(10)));
    EXPECT_EQ(sourceTitle(review), "Window capture");
    EXPECT_EQ(displayedImage(review), test::plainImage(10));
    review.screen.setMode(CanvasMode::previewing);
    review.screen.awaitPreview({});
    review.screen.arrivePreview(item.id(), {}, test::plainImage(0));
    EXPECT_EQ(displayedImage(review), test::plainImage(0));
}

} // namespace
} // namespace velmora
