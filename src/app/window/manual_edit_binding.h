#pragma once

namespace velmora {

class ManualEditControls;
class ReviewController;

/// Hands the Manual section's intents (Draw, Keep, Undo, Redo, Reset, Delete) to the
/// review and shows the review's manual tools and modes after every change. Both
/// outlive the binding's connections, which end with either.
void bindManualEditsToReview(ManualEditControls &controls, ReviewController &review);

} // namespace velmora
