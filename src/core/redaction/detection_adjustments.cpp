#include "core/redaction/detection_adjustments.h"

namespace velmora {

Detection manualRedaction(const QString &label, const QString &reason, const NormRect &normalizedBounds)
{
    Detection detection;
    detection.id = QUuid::createUuid();
    detection.kind = DetectionKind::unknown;
    detection.label = label;
    detection.confidence = 1.0;
    detection.normalizedBounds = normalizedBounds;
    detection.source = DetectionSource::user;
    detection.reason = reason;
    detection.suggestedAction = DetectionSuggestedAction::redact;
    detection.boundsPrecision = DetectionBoundsPrecision::manual;
    return detection;
}

Detection withAdjustedBounds(const Detection &detection, const NormRect &bounds)
{
    Detection adjusted = detection;
    adjusted.normalizedBounds = bounds;
    adjusted.source = DetectionSource::user;
    adjusted.boundsPrecision = DetectionBoundsPrecision::manual;
    if (!detection.originalNormalizedBounds && detection.source != DetectionSource::user)
        adjusted.reason = detection.reason + QStringLiteral(" Bounds adjusted by the user.");
    adjusted.originalNormalizedBounds = detection.originalNormalizedBounds.value_or(detection.normalizedBounds);
    adjusted.originalSource = detection.originalSource.value_or(detection.source);
    adjusted.originalReason = detection.originalReason.value_or(detection.reason);
    adjusted.originalBoundsPrecision = detection.originalBoundsPrecision.value_or(detection.boundsPrecision);
    return adjusted;
}

Detection withOriginalBounds(const Detection &detection)
{
    Detection restored = detection;
    if (detection.originalNormalizedBounds)
        restored.normalizedBounds = *detection.originalNormalizedBounds;
    restored.source = detection.originalSource.value_or(detection.source);
    restored.reason = detection.originalReason.value_or(detection.reason);
    restored.boundsPrecision = detection.originalBoundsPrecision.value_or(detection.boundsPrecision);
    restored.originalNormalizedBounds.reset();
    restored.originalSource.reset();
    restored.originalReason.reset();
    restored.originalBoundsPrecision.reset();
    return restored;
}

} // namespace velmora
