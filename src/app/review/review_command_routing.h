#pragma once

#include <functional>

namespace velmora {

class ReviewController;

/// Runs an operation that ends the review in progress, after asking whether hand-made
/// boxes may be discarded when there are any; without an answer of yes it does nothing.
using AskBeforeDiscarding = std::function<void(std::function<void()> proceed)>;

/// Runs the review's operation for each app-wide review command posted on the command
/// bus (close, paste, preview, copy, export, redact all, make all visible, delete,
/// undo, redo, and a change of detection settings), for as long as the controller lives.
/// Close and paste end the review in progress: they go through `askBeforeDiscarding`.
/// The main window calls it once for its controller.
void connectReviewCommands(ReviewController &controller, AskBeforeDiscarding askBeforeDiscarding);

} // namespace velmora
