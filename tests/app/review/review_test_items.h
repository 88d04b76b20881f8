#pragma once

#include "app/review/batch_review_item.h"

#include "support/detection_fixtures.h"

namespace velmora::test {

/// A small bitmap filled with one grey so that tests can tell images apart.
inline QImage plainImage(int grey = 200, int width = 40, int height = 30)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(grey, grey, grey));
    return image;
}

/// A batch item read from "/shots/<name>" with a plain image of its own.
inline BatchReviewItem fileItem(const QString &name, int grey = 200)
{
    return BatchReviewItem::make(QUrl::fromLocalFile("/shots/" + name), std::nullopt, SafeShareSourceType::folderBatch,
                                 ReviewImageSource::encode(plainImage(grey)), QStringLiteral("Queued for on-device scan."));
}

/// A finding of `kind` with `label` whose bottom edge is at `bottom`.
inline Detection findingOf(DetectionKind kind, const QString &label, double bottom, double confidence = 0.95)
{
    Detection detection = makeFinding({0.1, bottom, 0.3, 0.04});
    detection.kind = kind;
    detection.label = label;
    detection.confidence = confidence;
    return detection;
}

/// A box the user drew.
inline Detection manualBox(double bottom)
{
    Detection box = makeFinding({0.6, bottom, 0.2, 0.1});
    box.kind = DetectionKind::unknown;
    box.label = QStringLiteral("Manual redaction");
    box.source = DetectionSource::user;
    box.boundsPrecision = DetectionBoundsPrecision::manual;
    box.confidence = 1.0;
    return box;
}

} // namespace velmora::test
