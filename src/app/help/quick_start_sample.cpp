#include "app/help/quick_start_sample.h"

#include "app/help/velmora_sample_image.h"
#include "app/review/review_intake.h"

#include <QBuffer>

namespace velmora {

QList<Detection> quickStartSampleDetections()
{
    Detection detection;
    detection.id = QUuid(QStringLiteral("33333333-4444-5555-6666-777777777777"));
    detection.kind = DetectionKind::apiKey;
    detection.label = QStringLiteral("Sample secret");
    detection.confidence = 0.96;
    detection.normalizedBounds = NormRect{0.08, 0.515, 0.74, 0.06};
    detection.source = DetectionSource::deterministic;
    detection.reason = QStringLiteral("Sample finding for the Quick Start.");
    detection.matchedText = QString(VelmoraSampleImage::accessKey);
    detection.matchedRange = TextRange{0, 20};
    detection.suggestedAction = DetectionSuggestedAction::redact;
    detection.boundsPrecision = DetectionBoundsPrecision::tight;
    return {detection};
}

void loadQuickStartSample(ReviewIntake &review, const QPalette &palette)
{
    QByteArray png;
    QBuffer buffer(&png);
    const QImage image = VelmoraSampleImage::render(palette);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        review.showFailure(QuickStartSampleText::failed, QuickStartSampleText::startPrompt);
        return;
    }
    ReviewIntakeImage sample;
    sample.encodedBytes = png;
    sample.displayLabel = QuickStartSampleText::sourceLabel;
    sample.plan = RedactionPlan(quickStartSampleDetections(), {}, {});
    sample.statusSentence = QuickStartSampleText::loaded;
    review.openForReview(sample);
}

} // namespace velmora
