#pragma once

namespace velmora {

class FindingsPanel;
class ReviewController;

/// Hands the findings column's intents (a finding chosen, switched or remembered as safe,
/// a group or every finding switched, the filter, previous, next and toggle, a detector's
/// setting) to the review and shows the image's findings after every change. Opening the
/// settings window stays with the window. Both outlive the binding's connections, which
/// end with either.
void bindFindingsToReview(FindingsPanel &panel, ReviewController &review);

} // namespace velmora
