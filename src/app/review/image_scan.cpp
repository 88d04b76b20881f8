#include "app/review/image_scan.h"

#include "app/review/future_watch.h"

namespace velmora {

RedactionPlan manualBoxesPlan(const QList<Detection> &manualDetections, const QHash<QUuid, bool> &manualActiveStates)
{
    return buildScanPlan({}, {}, manualDetections, manualActiveStates);
}

void scanImage(ScanEngine &engine, QObject *context, ScanRequest request,
               const std::function<DetectorCategoryPreferences()> &currentPreferences, TaskHandle task,
               std::function<void(ScanOutcome)> done)
{
    const QFuture<ScanReport> report = runScan(engine, std::move(request), currentPreferences(), std::move(task));
    whenFinished(report, context, [done = std::move(done)](const QFuture<ScanReport> &finished) {
        done(finished.result().outcome);
    });
}

} // namespace velmora
