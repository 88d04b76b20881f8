#include "core/analysis/visual/visual_content_detector.h"

#include "core/analysis/visual/code_reader.h"
#include "core/detection/core_error.h"
#include "core/support/work_pools.h"

#include <QPainter>
#include <QUuid>
#include <QtConcurrent>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

// The cascade has no calibrated score: every face is equally likely.
constexpr double kFaceConfidence = 0.9;
// A code that decoded is certain.
constexpr double kCodeConfidence = 1.0;

struct FindingText
{
    DetectionKind kind;
    QString label;
    QString reason;
};

FindingText findingText(VisualContentObservation::Kind kind)
{
    switch (kind) {
    case VisualContentObservation::Kind::face:
        return {DetectionKind::face, QStringLiteral("Face"),
                QStringLiteral("Faces can identify people in shared screenshots.")};
    case VisualContentObservation::Kind::barcode:
        return {DetectionKind::barcode, QStringLiteral("Barcode"),
                QStringLiteral("Barcodes can reveal shipment, product, or account identifiers.")};
    case VisualContentObservation::Kind::qrCode:
        break;
    }
    return {DetectionKind::barcode, QStringLiteral("QR code"),
            QStringLiteral("QR codes can encode URLs, tokens, or contact details.")};
}

/// The bitmap as grey levels, transparent areas seen against white as a viewer shows them.
QImage greyLevels(const QImage &bitmap)
{
    if (!bitmap.hasAlphaChannel())
        return bitmap.convertToFormat(QImage::Format_Grayscale8);
    QImage opaque(bitmap.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    // A target rectangle draws the source at full size whatever its pixel ratio.
    painter.drawImage(opaque.rect(), bitmap);
    painter.end();
    return opaque.convertToFormat(QImage::Format_Grayscale8);
}

/// Pixel box (origin top-left) to normalised box (origin bottom-left).
NormRect normalized(const QRect &box, const QSize &image)
{
    const double width = image.width();
    const double height = image.height();
    return {box.x() / width, 1.0 - (box.y() + box.height()) / height, box.width() / width, box.height() / height};
}

} // namespace

VisualSensitiveContentDetector::VisualSensitiveContentDetector()
    : VisualSensitiveContentDetector(defaultCascadePath())
{
}

VisualSensitiveContentDetector::VisualSensitiveContentDetector(const QString &cascadePath)
    : m_faceFinder(cascadePath)
{
}

QString VisualSensitiveContentDetector::defaultCascadePath()
{
    return QStringLiteral(VELMORA_HAARCASCADE_DIR "/haarcascade_frontalface_default.xml");
}

QList<VisualContentObservation> VisualSensitiveContentDetector::detectVisualContent(const QImage &bitmap,
                                                                                   const TaskHandle &task) const
{
    if (bitmap.isNull())
        throw VelmoraCoreException(VelmoraCoreError::visualDetectionFailed);
    QList<VisualContentObservation> observations;
    if (task.isCancelled())
        return observations;
    const QImage grey = greyLevels(bitmap);

    for (const QRect &face : m_faceFinder.findFaces(grey, task))
        observations.append({VisualContentObservation::Kind::face, normalized(face, grey.size()), kFaceConfidence, std::nullopt});
    for (const CodeSighting &code : readCodes(grey, task)) {
        const auto kind = code.symbology.contains(QLatin1String("qr"), Qt::CaseInsensitive)
            ? VisualContentObservation::Kind::qrCode
            : VisualContentObservation::Kind::barcode;
        observations.append({kind, normalized(code.bounds, grey.size()), kCodeConfidence, code.symbology});
    }
    return observations;
}

QList<Detection> VisualSensitiveContentDetector::detections(const QList<VisualContentObservation> &observations,
                                                            const DetectorCategoryPreferences &preferences)
{
    QList<Detection> findings;
    for (const auto &observation : observations) {
        const auto text = findingText(observation.kind);
        Detection finding;
        finding.id = QUuid::createUuid();
        finding.kind = text.kind;
        finding.label = text.label;
        finding.confidence = std::isnan(observation.confidence) ? 0.0 : std::clamp(observation.confidence, 0.0, 1.0);
        finding.normalizedBounds = observation.normalizedBounds;
        finding.source = DetectionSource::vision;
        finding.reason = text.reason;
        finding.suggestedAction = DetectionSuggestedAction::redact;
        finding.boundsPrecision = DetectionBoundsPrecision::tight;
        if (preferences.isEnabled(detectorCategory(finding)))
            findings.append(std::move(finding));
    }
    return findings;
}

QFuture<QList<Detection>> VisualSensitiveContentDetector::detect(const QImage &bitmap,
                                                                 const DetectorCategoryPreferences &preferences,
                                                                 const TaskHandle &task) const
{
    // The task holds copies: the detector may go away before the task runs.
    return QtConcurrent::run(&WorkPools::scanning(), [detector = *this, bitmap, preferences, task] {
        return detections(detector.detectVisualContent(bitmap, task), preferences);
    });
}

} // namespace velmora
