#include "app/window/findings_binding.h"

#include "app/panes/findings_panel.h"
#include "app/review/review_controller.h"

namespace velmora {

namespace {

void drawFindings(FindingsPanel &panel, const ReviewState &state)
{
    panel.showState({
        .plan = state.redactionPlan(),
        .selection = state.selectedDetectionID(),
        .filter = state.findingFilter,
        .hasImage = state.hasImageOnScreen(),
        .isChecking = state.isChecking(),
        .isPreviewingOutput = state.screen.mode() == CanvasMode::previewing,
        .errorText = state.errorText(),
    });
}

} // namespace

void bindFindingsToReview(FindingsPanel &panel, ReviewController &review)
{
    using Panel = FindingsPanel;
    using Review = ReviewController;
    QObject::connect(&panel, &Panel::findingSelected, &review, &Review::selectDetection);
    QObject::connect(&panel, &Panel::findingActiveSet, &review,
                     [&review](const QUuid &id, bool on) { review.setFindingsActive(on, {id}); });
    QObject::connect(&panel, &Panel::findingsActiveSet, &review, &Review::setFindingsActive);
    QObject::connect(&panel, &Panel::rememberSafeRequested, &review, &Review::rememberFindingAsSafe);
    QObject::connect(&panel, &Panel::detectorDispositionChosen, &review, &Review::setDetectorDisposition);
    QObject::connect(&panel, &Panel::adjacentFindingRequested, &review, &Review::selectAdjacentFinding);
    QObject::connect(&panel, &Panel::toggleSelectedFindingRequested, &review, &Review::toggleSelectedFindingActive);
    QObject::connect(&panel, &Panel::filterChosen, &review, &Review::selectFindingFilter);
    QObject::connect(&panel, &Panel::allFindingsIncludedSet, &review, &Review::setAllFindingsIncluded);
    QObject::connect(&review, &ReviewController::changed, &panel, [&panel, &review] { drawFindings(panel, review.state()); });
    drawFindings(panel, review.state());
}

} // namespace velmora
