#pragma once

#include "core/detection/detection.h"

namespace velmora {

// The detections that the user's box edits make. A manual box and an adjusted
// finding both have source `user`; an adjusted finding keeps what it was before
// its first adjustment in the four original fields, so that it can be reset.

/// A box the user drew: kind unknown, confidence 1, suggested action redact,
/// precision manual, a fresh random id.
Detection manualRedaction(const QString &label, const QString &reason, const NormRect &normalizedBounds);

/// `detection` moved or resized to `bounds`. The first adjustment of an automatic
/// finding appends " Bounds adjusted by the user." to its reason; the original
/// fields always describe the finding before its first adjustment.
Detection withAdjustedBounds(const Detection &detection, const NormRect &bounds);

/// `detection` back as it was before its first adjustment, original fields cleared.
Detection withOriginalBounds(const Detection &detection);

} // namespace velmora
