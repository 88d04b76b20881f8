#pragma once

#include "core/analysis/imported_image.h"
#include "core/analysis/sensitive_text_detector.h"
#include "core/analysis/text_recognizer.h"
#include "core/analysis/visual_content_detector.h"
#include "core/detection/detection.h"
#include "core/detection/detector_category_preferences.h"
#include "core/detection/text_observation.h"
#include "core/redaction/redaction_plan.h"

#include <QFuture>
#include <QHash>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QUuid>

#include <memory>

namespace velmora {

/// Wall time of each stage of one scan, in milliseconds. Recognition and visual
/// detection overlap, so the stages add up to more than the total.
struct ScanStageTimings
{
    double importMs = 0;
    double recognizeMs = 0;
    double visualMs = 0;
    double detectMs = 0; ///< The sensitive-text pass over the recognised lines.
    double planMs = 0;
    double totalMs = 0;
};

/// What one scan produced.
struct ScanPipelineResult
{
    RedactionPlan plan;
    QSize imageSize;
    qsizetype lineCount = 0; ///< Recognised lines.
    /// The image's pattern time ran out before every user pattern had run.
    bool customPatternsSkipped = false;
    ScanStageTimings timings;
};

// The engine's side of a scan, from the image file or the imported bitmap to the
// redaction plan: recognition and visual detection run concurrently on the background pool, the
// sensitive-text pass runs over the lines as soon as they arrive, and the plan is
// built after both from the text findings, the visual findings and the user's boxes.
// Each stage is also callable alone, for callers that put the stages on threads of
// their own choosing (the review runs the text pass and the plan on the main thread).
class ScanPipeline
{
public:
    /// The on-device recogniser with language correction, and the installed face cascade.
    ScanPipeline();
    ScanPipeline(std::shared_ptr<const TextRecognizing> recognizer, VisualSensitiveContentDetector visualDetector);

    QFuture<QList<TextObservation>> recognizeText(const ImportedImage &image) const;
    QFuture<QList<Detection>> detectVisualContent(const ImportedImage &image,
                                                  const DetectorCategoryPreferences &preferences) const;
    /// Runs on the caller's thread; never fails.
    static SensitiveTextFindings detectSensitiveText(const SensitiveTextDetector &detector,
                                                const QList<TextObservation> &lines);
    /// The plan of the text findings, the visual findings and the user's boxes, in that
    /// order; each box then gets back the on/off state it had (an id no longer in the
    /// plan changes nothing).
    static RedactionPlan buildPlan(const QList<Detection> &textDetections, const QList<Detection> &visualDetections,
                                   const QList<Detection> &manualDetections,
                                   const QHash<QUuid, bool> &manualActiveStates);

    /// The whole scan of an imported image. Blocks the calling thread until both
    /// background stages have ended, so never call it on the main thread. When either
    /// stage fails it throws that stage's VelmoraCoreException once both have ended,
    /// recognition's first; no plan is built then.
    ScanPipelineResult scan(const ImportedImage &image, const SensitiveTextDetector &detector,
                            const DetectorCategoryPreferences &visualPreferences,
                            const QList<Detection> &manualDetections = {},
                            const QHash<QUuid, bool> &manualActiveStates = {}) const;
    /// Imports the file, then scans it. Also throws the import's VelmoraCoreException.
    ScanPipelineResult scanFile(const QString &filePath, const SensitiveTextDetector &detector,
                                const DetectorCategoryPreferences &visualPreferences) const;

private:
    std::shared_ptr<const TextRecognizing> m_recognizer;
    VisualSensitiveContentDetector m_visualDetector;
};

} // namespace velmora
