#include "app/review/review_queries.h"

#include "app/review/finding_queries.h"
#include "core/redaction/needs_review.h"

#include <algorithm>
#include <numeric>

namespace velmora {

namespace {

template <typename Predicate>
int countItems(const ReviewState &state, Predicate predicate)
{
    return int(std::count_if(state.batch.items().begin(), state.batch.items().end(), predicate));
}

} // namespace

bool isBatchChecking(const ReviewState &state)
{
    return countItems(state, [](const ReviewDocument &item) { return item.isChecking(); }) > 0;
}

bool hasActiveReview(const ReviewState &state)
{
    return !state.image().isNull() || !state.batch.items().isEmpty() || state.isChecking() || isBatchChecking(state)
        || state.captureTask.has_value();
}

int batchItemsWithFindings(const ReviewState &state)
{
    return countItems(state, [](const ReviewDocument &item) { return item.hasFindings(); });
}

int cleanBatchItems(const ReviewState &state)
{
    return countItems(state, [](const ReviewDocument &item) { return item.isClean(); });
}

int reviewedBatchItemsWithFindings(const ReviewState &state)
{
    return countItems(state, [](const ReviewDocument &item) { return item.didReviewInBatch() && item.hasFindings(); });
}

int processedBatchItems(const ReviewState &state)
{
    return countItems(state, [](const ReviewDocument &item) { return item.didScan() || item.errorText(); });
}

int batchNeedsReviewCount(const ReviewState &state)
{
    return std::accumulate(state.batch.items().begin(), state.batch.items().end(), 0,
                           [](int sum, const ReviewDocument &item) { return sum + item.needsReviewCount(); });
}

QList<ReviewDocument> exportableBatchItems(const ReviewState &state)
{
    QList<ReviewDocument> result;
    std::copy_if(state.batch.items().begin(), state.batch.items().end(), std::back_inserter(result),
                 [&state](const ReviewDocument &item) {
                     return item.scanEnded() && (state.batch.includesCleanExports() || item.hasFindings());
                 });
    return result;
}

int unscannedBatchItems(const ReviewState &state)
{
    return countItems(state, [](const ReviewDocument &item) { return !item.scanEnded(); });
}

bool isScanRunning(const ReviewState &state)
{
    return state.detectionTask.has_value() || isBatchChecking(state);
}

bool canShareCurrentImage(const ReviewState &state)
{
    if (state.image().isNull() || state.isChecking() || state.isWritingCleanedImage)
        return false;
    const ReviewDocument *current = state.batch.current();
    return current && current->scanEnded();
}

bool canExportBatch(const ReviewState &state)
{
    return !exportableBatchItems(state).isEmpty() && !isBatchChecking(state) && !state.isExportingBatch;
}

QList<BatchCategoryCount> batchCategoryCounts(const ReviewState &state)
{
    QList<BatchCategoryCount> counts;
    for (FindingCategory category : allCases<FindingCategory>()) {
        BatchCategoryCount count{category, 0, 0};
        for (const ReviewDocument &item : state.batch.items()) {
            const auto &entries = item.redactionPlan().entries();
            const int found = int(std::count_if(entries.begin(), entries.end(), [category](const RedactionPlanEntry &entry) {
                return findingCategoryContains(category, entry.detection);
            }));
            count.imageCount += found > 0 ? 1 : 0;
            count.findingCount += found;
        }
        if (count.findingCount > 0)
            counts.append(count);
    }
    return counts;
}

QImage displayedImage(const ReviewState &state)
{
    if (state.screen.mode() == CanvasMode::previewing && !state.screen.preview().isNull())
        return state.screen.preview();
    return state.batch.current() ? state.screen.picture() : QImage();
}

QString sourceTitle(const ReviewState &state)
{
    if (!state.hasImageOnScreen())
        return QStringLiteral("Velmora");
    return sourceDisplayName(state.sourceDisplayLabel(), state.sourceImageURL());
}

int shareNeedsReviewCount(const ReviewState &state, ShareAction action)
{
    return action == ShareAction::batchExport ? batchNeedsReviewCount(state) : needsReviewEntries(state.redactionPlan());
}

QString reviewWarningMessage(const ReviewState &state, ShareAction action)
{
    return reviewWarningMessage(shareNeedsReviewCount(state, action));
}

} // namespace velmora
