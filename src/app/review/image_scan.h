#pragma once

#include "app/review/scan_engine.h"
#include "core/analysis/sensitive_text_detector.h"
#include "core/detection/core_error.h"
#include "core/redaction/redaction_plan.h"
#include "core/support/task_handle.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QUuid>

#include <functional>
#include <variant>

namespace velmora {

/// What one scan works on, all taken when it starts.
struct ScanRequest
{
    QImage image;
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
    bool customPatternsSkipped = false;
};

using ScanOutcome = std::variant<ScannedPlan, VelmoraCoreError, ScanCancelled>;

/// A plan of the user's boxes alone, each in the on/off state it had.
RedactionPlan manualBoxesPlan(const QList<Detection> &manualDetections, const QHash<QUuid, bool> &manualActiveStates);

/// Scans one image: recognition and visual detection run concurrently; the text pass
/// runs on `context`'s (main) thread as soon as the lines arrive; the plan is built
/// after both from the text findings, the visual findings and the manual boxes, and
/// the boxes get their on/off states back. A failure of either step is reported only
/// once both have ended; a cancelled task reports ScanCancelled once both have ended.
/// The visual step uses `currentPreferences()` as read when the scan starts. `done`
/// is called once, from the event loop, unless `context` is destroyed first.
void scanImage(ScanEngine &engine, QObject *context, ScanRequest request,
               const std::function<DetectorCategoryPreferences()> &currentPreferences, TaskHandle task,
               std::function<void(ScanOutcome)> done);

} // namespace velmora
