#include "app/window/export_action_bar_binding.h"

#include "app/review/review_controller.h"
#include "app/review/review_queries.h"
#include "app/window/export_action_bar.h"

namespace velmora {

namespace {

void drawOutputs(ExportActionBar &bar, const ReviewState &state)
{
    bar.showState({
        .canShareImage = canShareCurrentImage(state),
        .showsBatch = state.batch.items().size() >= 2,
        .canExportBatch = canExportBatch(state),
        .includesSafe = state.batch.includesCleanExports(),
    });
}

} // namespace

void bindExportActionBarToReview(ExportActionBar &bar, ReviewController &review)
{
    using Review = ReviewController;
    QObject::connect(&bar, &ExportActionBar::copyRequested, &review,
                     [&review] { review.runShareCommand(ShareAction::copy); });
    QObject::connect(&bar, &ExportActionBar::exportRequested, &review,
                     [&review] { review.runShareCommand(ShareAction::export_); });
    QObject::connect(&bar, &ExportActionBar::batchExportRequested, &review,
                     [&review] { review.runShareCommand(ShareAction::batchExport); });
    QObject::connect(&bar, &ExportActionBar::includeSafeToggled, &review, &Review::setIncludesCleanBatchExports);
    QObject::connect(&review, &Review::changed, &bar, [&bar, &review] { drawOutputs(bar, review.state()); });
    drawOutputs(bar, review.state());
}

} // namespace velmora
