#pragma once

#include "app/review/scan_engine.h"
#include "core/analysis/scan_pipeline.h"
#include "core/analysis/text_recognizer.h"

namespace velmora {

// The review's scan engine in the application: the on-device recogniser (language
// correction on) and the visual detector of the engine's scan pipeline, each on the
// shared background pool. The main window keeps one for its lifetime; the running
// steps hold copies of what they use, so a scan may outlive it.
class PipelineScanEngine : public ScanEngine
{
public:
    PipelineScanEngine();

    QFuture<QList<TextObservation>> recognizeText(const QImage &image) override;
    QFuture<QList<Detection>> detectVisualContent(const QImage &image,
                                                  const DetectorCategoryPreferences &preferences) override;

private:
    ScanPipeline m_pipeline;
};

} // namespace velmora
