#pragma once

namespace velmora {

class BatchSidebar;
class ReviewController;

/// Hands the batch column's intents (a filter, a finding type, previous, next, a card)
/// to the review and shows the batch's progress, filters and visible images after every
/// change. Both outlive the binding's connections, which end with either.
void bindBatchSidebarToReview(BatchSidebar &sidebar, ReviewController &review);

} // namespace velmora
