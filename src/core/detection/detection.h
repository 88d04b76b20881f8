#pragma once

#include "core/detection/detection_enums.h"
#include "core/detection/norm_rect.h"
#include "core/detection/text_range.h"

#include <QString>
#include <QUuid>

#include <optional>

namespace velmora {

// One finding: what was found, where (normalised, origin bottom-left), who found it
// and what is proposed. A plain value; an edit makes a new detection.
struct Detection
{
    QUuid id;
    DetectionKind kind = DetectionKind::unknown;
    QString label;
    double confidence = 0;
    NormRect normalizedBounds;
    DetectionSource source = DetectionSource::deterministic;
    QString reason;
    std::optional<QString> matchedText;
    std::optional<TextRange> matchedRange;
    DetectionSuggestedAction suggestedAction = DetectionSuggestedAction::redact;
    DetectionBoundsPrecision boundsPrecision = DetectionBoundsPrecision::unknown;
    // Filled together by the user's first adjustment of the box, absent before.
    std::optional<NormRect> originalNormalizedBounds;
    std::optional<DetectionSource> originalSource;
    std::optional<QString> originalReason;
    std::optional<DetectionBoundsPrecision> originalBoundsPrecision;

    bool hasAdjustedBounds() const { return originalNormalizedBounds.has_value(); }

    /// Keeps a box of recognised text inside the image: standardised, clamped to the
    /// unit square, or nothing when it is null, empty, infinite or wholly outside.
    static std::optional<NormRect> sanitizedNormalizedBounds(const NormRect &rect);

    friend bool operator==(const Detection &, const Detection &) = default;
};

} // namespace velmora
