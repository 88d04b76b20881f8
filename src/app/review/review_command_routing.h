#pragma once

namespace velmora {

class ReviewController;

/// Runs the review's operation for each app-wide review command posted on the command
/// bus (close, paste, preview, copy, export, redact all, make all visible, delete,
/// undo, redo, and a change of detection settings), for as long as the controller lives.
/// The main window calls it once for its controller.
void connectReviewCommands(ReviewController &controller);

} // namespace velmora
