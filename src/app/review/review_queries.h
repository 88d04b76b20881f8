#pragma once

#include "app/review/review_state.h"

#include <QList>

namespace velmora {

/// Per finding category, how many batch items hold such findings and how many there are.
struct BatchCategoryCount
{
    FindingCategory category = FindingCategory::review;
    int imageCount = 0;
    int findingCount = 0;

    friend bool operator==(const BatchCategoryCount &, const BatchCategoryCount &) = default;
};

// What the window computes from the review state every time it draws. Nothing here
// changes the state.

/// Some batch item is being scanned.
bool isBatchChecking(const ReviewState &state);
/// An image, a batch, a scan or a capture is in progress.
bool hasActiveReview(const ReviewState &state);
int batchItemsWithFindings(const ReviewState &state);
int cleanBatchItems(const ReviewState &state);
int reviewedBatchItemsWithFindings(const ReviewState &state);
/// Items scanned or failed.
int processedBatchItems(const ReviewState &state);
/// The findings that need review, over all batch items.
int batchNeedsReviewCount(const ReviewState &state);
/// Of the items whose scan has ended, every one while clean images are included, else
/// those with findings.
QList<ReviewDocument> exportableBatchItems(const ReviewState &state);
/// The items no scan has reached yet: a batch export leaves them out.
int unscannedBatchItems(const ReviewState &state);
/// A scan of the image under review or of the batch runs.
bool isScanRunning(const ReviewState &state);
/// The image under review may be copied or exported: its scan has ended, none runs and
/// no copy or export is being made.
bool canShareCurrentImage(const ReviewState &state);
/// The batch may be exported: it holds items to write, no scan of it runs and no batch
/// export is being made.
bool canExportBatch(const ReviewState &state);
/// The categories with findings anywhere in the batch, in category order.
QList<BatchCategoryCount> batchCategoryCounts(const ReviewState &state);

/// The output preview while it is shown and exists, else the image: the pictures the
/// canvas draws, in a format the screen takes as it is.
QImage displayedImage(const ReviewState &state);
/// The image's label or file name; "Velmora" with no image.
QString sourceTitle(const ReviewState &state);
/// The findings that need review before the share: the batch's for a batch export, else
/// those of the image under review.
int shareNeedsReviewCount(const ReviewState &state, ShareAction action);
/// The review warning held in front of the share.
QString reviewWarningMessage(const ReviewState &state, ShareAction action);

} // namespace velmora
