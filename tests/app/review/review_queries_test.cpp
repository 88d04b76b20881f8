#include "app/review/review_queries.h"

#include "review_test_items.h"

#include "support/row_name.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using K = DetectionKind;
using C = FindingCategory;

// A batch of five: a failed item with no findings, a clean one, one with an email
// and an account-labelled phone (reviewed), one with a card needing review, and one
// not scanned yet.
class ReviewQueries : public ::testing::Test
{
protected:
    void SetUp() override
    {
        BatchReviewItem failed = test::fileItem("failed.png");
        failed.errorText = QStringLiteral("Detection failed. Automated detections were cleared.");
        failed.scanEnded = true;
        BatchReviewItem clean = test::fileItem("clean.png");
        clean.didScan = true;
        clean.scanEnded = true;
        BatchReviewItem reviewed = test::fileItem("reviewed.png");
        reviewed.redactionPlan = RedactionPlan({test::findingOf(K::email, "Email", 0.8),
                                                test::findingOf(K::phoneNumber, "Account/customer ID", 0.5)}, {}, {});
        reviewed.didScan = true;
        reviewed.scanEnded = true;
        reviewed.didReviewInBatch = true;
        BatchReviewItem card = test::fileItem("card.png");
        card.redactionPlan = RedactionPlan({test::findingOf(K::creditCard, "Card number", 0.6, 0.5)}, {}, {});
        card.didScan = true;
        card.scanEnded = true;
        BatchReviewItem queued = test::fileItem("queued.png");
        state.batchItems = {failed, clean, reviewed, card, queued};
    }

    QStringList names(const QList<BatchReviewItem> &items)
    {
        QStringList result;
        for (const BatchReviewItem &item : items)
            result << item.displayName();
        return result;
    }

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
    state.batchItems[4].isChecking = true;
    EXPECT_TRUE(isBatchChecking(state));
}

struct VisibleRow
{
    const char *name;
    BatchReviewFilter filter;
    std::optional<FindingCategory> category;
    QStringList visible;
};

class VisibleBatchItems : public ReviewQueries, public ::testing::WithParamInterface<VisibleRow>
{
};

TEST_P(VisibleBatchItems, PassBothFilters)
{
    state.batchFilter = GetParam().filter;
    state.batchCategoryFilter = GetParam().category;
    EXPECT_EQ(names(visibleBatchItems(state)), GetParam().visible);
}

INSTANTIATE_TEST_SUITE_P(Rows, VisibleBatchItems, ::testing::Values(
    VisibleRow{"All", BatchReviewFilter::all, std::nullopt,
               {"failed.png", "clean.png", "reviewed.png", "card.png", "queued.png"}},
    VisibleRow{"Findings", BatchReviewFilter::findings, std::nullopt, {"reviewed.png", "card.png"}},
    VisibleRow{"CleanHidesTheFailedItem", BatchReviewFilter::clean, std::nullopt, {"clean.png"}},
    VisibleRow{"AccountCategoryShowsTheLabelledPhone", BatchReviewFilter::all, C::customerAccount, {"reviewed.png"}},
    VisibleRow{"PaymentsWithinFindings", BatchReviewFilter::findings, C::payments, {"card.png"}},
    VisibleRow{"CleanAndPeopleIsEmpty", BatchReviewFilter::clean, C::people, {}}),
    test::rowName);

TEST_F(ReviewQueries, CategoryCountsInCategoryOrder)
{
    state.batchItems[3].redactionPlan.setActive(false, state.batchItems[3].redactionPlan.entries()[0].id());
    const QList<BatchCategoryCount> expected{
        {C::emails, 1, 1}, {C::customerAccount, 1, 1}, {C::payments, 1, 1}, {C::phones, 1, 1}};
    EXPECT_EQ(batchCategoryCounts(state), expected);
}

TEST_F(ReviewQueries, ExportableItemsLeaveOutTheUnscannedOne)
{
    EXPECT_EQ(names(exportableBatchItems(state)), (QStringList{"failed.png", "clean.png", "reviewed.png", "card.png"}));
    EXPECT_EQ(unscannedBatchItems(state), 1);
    state.batchItems[4].redactionPlan = RedactionPlan({}, {}, {test::manualBox(0.5)});
    EXPECT_EQ(exportableBatchItems(state).size(), 4) << "boxes drawn on it do not make it scanned";
    state.includesCleanBatchExports = false;
    EXPECT_EQ(names(exportableBatchItems(state)), (QStringList{"reviewed.png", "card.png"}));
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
    state.batchItems[2].redactionPlan = RedactionPlan({test::findingOf(K::email, "Email", 0.8, 0.4)}, {}, {});
    EXPECT_EQ(shareNeedsReviewCount(state, ShareAction::batchExport), 2);
    EXPECT_TRUE(reviewWarningMessage(state, ShareAction::batchExport).startsWith("2 findings marked"));
    state.batchItems[2].redactionPlan = RedactionPlan();
    EXPECT_TRUE(reviewWarningMessage(state, ShareAction::batchExport).startsWith("1 finding marked"));
    for (const ShareAction action : {ShareAction::copy, ShareAction::export_})
        EXPECT_TRUE(reviewWarningMessage(state, action).startsWith("0 findings marked"));
}

TEST_F(ReviewQueries, TitleAndDisplayedImage)
{
    ReviewState review;
    EXPECT_EQ(sourceTitle(review), "Velmora");
    BatchReviewItem item = BatchReviewItem::make(std::nullopt, std::nullopt, SafeShareSourceType::unknown,
                                                 ReviewImageSource::encode(test::plainImage(10)), QString());
    review.batchItems = {item};
    review.selectedBatchItemID = item.id;
    review.currentImage = test::plainImage(10);
    EXPECT_EQ(sourceTitle(review), "Clipboard image");
    review.batchItems[0].sourceURL = QUrl::fromLocalFile("/shots/ticket.png");
    EXPECT_EQ(sourceTitle(review), "ticket.png");
    review.batchItems[0].sourceLabel = QStringLiteral("Window capture");
    EXPECT_EQ(sourceTitle(review), "Window capture");

    EXPECT_EQ(displayedImage(review), test::plainImage(10));
    review.isPreviewingRedactedOutput = true;
    EXPECT_EQ(displayedImage(review), test::plainImage(10));
    review.redactedPreviewImage = test::plainImage(0);
    EXPECT_EQ(displayedImage(review), review.redactedPreviewImage);
}

} // namespace
} // namespace velmora
