#include "detection_fixtures.h"

#include <cmath>

namespace velmora::test {

Detection makeFinding(const NormRect &bounds)
{
    Detection detection;
    detection.id = QUuid::createUuid();
    detection.kind = DetectionKind::email;
    detection.label = QStringLiteral("Email");
    detection.confidence = 0.9;
    detection.normalizedBounds = bounds;
    detection.source = DetectionSource::deterministic;
    detection.reason = QStringLiteral("Looks like an email address.");
    detection.suggestedAction = DetectionSuggestedAction::redact;
    detection.boundsPrecision = DetectionBoundsPrecision::tight;
    return detection;
}

Detection makeFace(const NormRect &bounds)
{
    Detection detection = makeFinding(bounds);
    detection.kind = DetectionKind::face;
    detection.label = QStringLiteral("Face");
    detection.source = DetectionSource::vision;
    detection.reason = QStringLiteral("Faces can identify people in shared screenshots.");
    return detection;
}

::testing::AssertionResult rectNear(const NormRect &actual, const NormRect &expected, double tolerance)
{
    const double fields[][2] = {{actual.x, expected.x}, {actual.y, expected.y},
                                {actual.width, expected.width}, {actual.height, expected.height}};
    for (const auto &[got, want] : fields) {
        if (!(std::abs(got - want) <= tolerance)) {
            return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.width
                                                 << ", " << actual.height << ") is not (" << expected.x << ", "
                                                 << expected.y << ", " << expected.width << ", "
                                                 << expected.height << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace velmora::test
