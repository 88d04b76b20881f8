#pragma once

namespace velmora {

class ExportActionBar;
class ReviewController;

/// Hands the output strip's intents (Copy, "Export cleaned copy", "Export batch", "Include
/// safe") to the review, which holds each share at its review gate, and shows which
/// outputs may run after every change. Both outlive the binding's connections, which end
/// with either.
void bindExportActionBarToReview(ExportActionBar &bar, ReviewController &review);

} // namespace velmora
