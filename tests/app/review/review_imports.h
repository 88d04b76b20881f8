#pragma once

#include "app/review/review_controller.h"

#include "support/event_loop.h"

namespace velmora::test {

/// Lets the review's running imports (of files, or of one image handed over) end and
/// hands their images over.
inline void finishReviewImports(ReviewController &review)
{
    review.fileImport().future().waitForFinished();
    review.intakeImport().future().waitForFinished();
    drainEvents();
}

} // namespace velmora::test
