#pragma once

#include "app/review/review_document.h"

#include "support/detection_fixtures.h"

#include <QDir>

namespace velmora::test {

/// A small bitmap filled with one grey so that tests can tell images apart.
inline QImage plainImage(int grey = 200, int width = 40, int height = 30)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(grey, grey, grey));
    return image;
}

/// An image of 40 × 30 in `format` with a pattern, the left quarter transparent when
/// `transparent`; no pixel is partly transparent.
inline QImage patternedImage(QImage::Format format, bool transparent)
{
    QImage image(40, 30, format);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, transparent && x < 10 ? qRgba(0, 0, 0, 0) : qRgb(6 * x, 8 * y, 100));
    }
    return image;
}

/// A batch item read from "/shots/<name>" (or from `name` when it is absolute) holding `image`.
inline ReviewDocument fileItem(const QString &name, const QImage &image)
{
    return ReviewDocument::make(QUrl::fromLocalFile(QDir(QStringLiteral("/shots")).filePath(name)), std::nullopt, SafeShareSourceType::folderBatch,
                                ReviewImageSource::encode(image), QStringLiteral("Queued for on-device scan."));
}

/// A batch item read from "/shots/<name>" with a plain image of its own.
inline ReviewDocument fileItem(const QString &name, int grey = 200)
{
    return fileItem(name, plainImage(grey));
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

/// Five documents: a failed one with no findings, a clean one, one with an email and an
/// account-labelled phone (reviewed), one with a card needing review, one not scanned yet.
inline QList<ReviewDocument> fiveDocuments()
{
    using K = DetectionKind;
    ReviewDocument failed = fileItem("failed.png");
    failed.adoptFailure(RedactionPlan(), false);
    ReviewDocument clean = fileItem("clean.png");
    clean.adoptOwnPlan(RedactionPlan(), std::nullopt);
    ReviewDocument reviewed = fileItem("reviewed.png");
    reviewed.adoptOwnPlan(RedactionPlan({findingOf(K::email, "Email", 0.8),
                                         findingOf(K::phoneNumber, "Account/customer ID", 0.5)}, {}, {}), std::nullopt);
    reviewed.markReviewed();
    ReviewDocument card = fileItem("card.png");
    card.adoptOwnPlan(RedactionPlan({findingOf(K::creditCard, "Card number", 0.6, 0.5)}, {}, {}), std::nullopt);
    return {failed, clean, reviewed, card, fileItem("queued.png")};
}

/// The display names of the documents, in order.
inline QStringList namesOf(const QList<ReviewDocument> &documents)
{
    QStringList result;
    for (const ReviewDocument &document : documents)
        result << document.displayName();
    return result;
}

} // namespace velmora::test
