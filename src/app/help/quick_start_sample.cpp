#include "app/help/quick_start_sample.h"

#include "app/help/velmora_sample_image.h"
#include "app/review/review_controller.h"

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

void loadQuickStartSample(ReviewController &review, const QPalette &palette)
{
    const QImage image = VelmoraSampleImage::render(palette);
    if (image.isNull()) {
        review.showImageUnavailable(QuickStartSampleText::failed);
        return;
    }
    BatchReviewItem item = BatchReviewItem::make(std::nullopt, QuickStartSampleText::sourceLabel,
                                                 SafeShareSourceType::unknown, ImportedImage{image},
                                                 QuickStartSampleText::loaded);
    item.redactionPlan = RedactionPlan(quickStartSampleDetections(), {}, {});
    review.loadBatch({std::move(item)}, QuickStartSampleText::loaded, 0, false);
}

} // namespace velmora
