#include "core/detection/text_observation.h"

#include "core/detection/detection.h"

#include <cmath>

namespace velmora {

TextObservation::TextObservation(QString text, const NormRect &normalizedBounds, double confidence,
                                 TextBoundsResolver boundsResolver, TextConfidenceResolver confidenceResolver)
    : m_text(std::move(text))
    , m_normalizedBounds(Detection::sanitizedNormalizedBounds(normalizedBounds).value_or(NormRect()))
    , m_confidence(std::isnan(confidence) ? 0.0 : std::clamp(confidence, 0.0, 1.0))
    , m_boundsResolver(std::move(boundsResolver))
    , m_confidenceResolver(std::move(confidenceResolver))
{
}

double TextObservation::confidenceFor(const TextRange &range) const
{
    if (!m_confidenceResolver)
        return m_confidence;
    const double confidence = m_confidenceResolver(range);
    return std::isnan(confidence) ? m_confidence : std::clamp(confidence, 0.0, 1.0);
}

TextPartBounds TextObservation::boundsFor(qsizetype start, qsizetype end) const
{
    return boundsFor(TextRange{start, end - start});
}

TextPartBounds TextObservation::boundsFor(const TextRange &range) const
{
    if (m_boundsResolver) {
        if (const auto box = m_boundsResolver(range)) {
            if (const auto sanitized = Detection::sanitizedNormalizedBounds(*box))
                return {*sanitized, DetectionBoundsPrecision::tight};
        }
    }
    return {m_normalizedBounds, DetectionBoundsPrecision::lineFallback};
}

} // namespace velmora
