#include "app/window/batch_sidebar_binding.h"

#include "app/panes/batch_sidebar.h"
#include "app/review/review_controller.h"
#include "app/review/review_queries.h"

namespace velmora {

namespace {

void drawBatch(BatchSidebar &sidebar, const ReviewState &state)
{
    sidebar.showState({
        .imageCount = int(state.batchItems.size()),
        .processedCount = processedBatchItems(state),
        .withFindingsCount = batchItemsWithFindings(state),
        .cleanCount = cleanBatchItems(state),
        .reviewedWithFindingsCount = reviewedBatchItemsWithFindings(state),
        .isChecking = isBatchChecking(state),
        .filter = state.batchFilter,
        .categories = batchCategoryCounts(state),
        .category = state.batchCategoryFilter,
        .visibleItems = visibleBatchItems(state),
        .selectedItem = state.selectedBatchItemID,
    });
}

} // namespace

void bindBatchSidebarToReview(BatchSidebar &sidebar, ReviewController &review)
{
    using Review = ReviewController;
    QObject::connect(&sidebar, &BatchSidebar::filterChosen, &review, &Review::selectBatchFilter);
    QObject::connect(&sidebar, &BatchSidebar::categoryChosen, &review, &Review::selectBatchCategory);
    QObject::connect(&sidebar, &BatchSidebar::adjacentItemRequested, &review, &Review::selectAdjacentBatchItem);
    QObject::connect(&sidebar, &BatchSidebar::itemChosen, &review, &Review::selectBatchItem);
    QObject::connect(&review, &Review::changed, &sidebar, [&sidebar, &review] { drawBatch(sidebar, review.state()); });
    drawBatch(sidebar, review.state());
}

} // namespace velmora
