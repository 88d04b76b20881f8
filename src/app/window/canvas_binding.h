#pragma once

namespace velmora {

class ImageReviewView;
class ReviewController;

/// Hands the canvas's intents (a box selected, added or moved, an edit finished, the
/// preview toggled) to the review and draws the review's image, plan, selection and
/// modes on the canvas after every change. Both outlive the binding's connections, which end with either.
void bindCanvasToReview(ImageReviewView &canvas, ReviewController &review);

} // namespace velmora
