#pragma once

#include "core/analysis/scan/scan_engine.h"
#include "core/analysis/scan/scan_run.h"
#include "core/support/task_handle.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QUuid>

#include <functional>

namespace velmora {

/// A plan of the user's boxes alone, each in the on/off state it had.
RedactionPlan manualBoxesPlan(const QList<Detection> &manualDetections, const QHash<QUuid, bool> &manualActiveStates);

/// Scans one image through the engine's runScan, off the main thread, and reports
/// its outcome on `context`'s thread: a failure of either step only once both have
/// ended, ScanCancelled for a task cancelled meanwhile, else the plan of the text
/// findings, the visual findings and the manual boxes in their on/off states. The
/// visual step uses `currentPreferences()` as read when the scan starts. `done` is
/// called once, from the event loop, unless `context` is destroyed first.
void scanImage(ScanEngine &engine, QObject *context, ScanRequest request,
               const std::function<DetectorCategoryPreferences()> &currentPreferences, TaskHandle task,
               std::function<void(ScanOutcome)> done);

} // namespace velmora
