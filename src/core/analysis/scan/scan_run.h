#pragma once

#include "core/analysis/scan/scan_engine.h"
#include "core/analysis/rules/sensitive_text_detector.h"
#include "core/detection/core_error.h"
#include "core/redaction/redaction_plan.h"
#include "core/support/task_handle.h"

#include <QFuture>
#include <QHash>
#include <QImage>
#include <QList>
#include <QUuid>

#include <variant>

namespace velmora {

/// What one scan works on, all taken when it starts.
struct ScanRequest
{
    QImage image; ///< Upright, as imported.
    SensitiveTextDetector detector;
    QList<Detection> manualDetections;
    QHash<QUuid, bool> manualActiveStates;
};

/// The scan's task was cancelled; no plan was built.
struct ScanCancelled
{
    friend bool operator==(const ScanCancelled &, const ScanCancelled &) = default;
};

/// The plan a finished scan built, and whether the user's patterns had the time to run.
struct ScannedPlan
{
    RedactionPlan plan;
    /// The image's pattern time ran out before every user pattern had run on every line.
    bool customPatternsSkipped = false;
};

using ScanOutcome = std::variant<ScannedPlan, VelmoraCoreError, ScanCancelled>;

/// Wall time of each stage of one scan, in milliseconds, from its start. Recognition
/// and visual detection overlap, so the stages add up to more than the total.
struct ScanStageTimings
{
    double importMs = 0;
    double recognizeMs = 0;
    double visualMs = 0;
    double detectMs = 0; ///< The sensitive-text pass over the recognised lines.
    double planMs = 0;
    double totalMs = 0;
};

/// How one scan ended, with what it measured on the way.
struct ScanReport
{
    ScanOutcome outcome;
    qsizetype lineCount = 0; ///< Recognised lines.
    ScanStageTimings timings;
};

/// The plan of the text findings, the visual findings and the user's boxes, in that
/// order; each box then gets back the on/off state it had (an id no longer in the
/// plan changes nothing).
RedactionPlan buildScanPlan(const QList<Detection> &textDetections, const QList<Detection> &visualDetections,
                            const QList<Detection> &manualDetections, const QHash<QUuid, bool> &manualActiveStates);

/// Scans one image: recognition and visual detection start at once on the engine,
/// the sensitive-text pass runs over the lines where recognition finished, and the
/// plan is built where the later of the two steps finished, all off the calling
/// thread. The future never fails and always ends once both steps have ended: with a
/// step's error (recognition's first when both fail), else ScanCancelled when the
/// task was cancelled meanwhile, else the plan. Cancelling the task stops the
/// engine's steps early, so a cancelled scan ends promptly.
QFuture<ScanReport> runScan(ScanEngine &engine, ScanRequest request, const DetectorCategoryPreferences &visualPreferences,
                            TaskHandle task);

} // namespace velmora
