#pragma once

#include "core/analysis/scan/scan_engine.h"
#include "core/detection/core_error.h"

#include <QPromise>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

namespace velmora::test {

// A scan engine whose answers the test gives: every call is recorded with the image,
// preferences and task it got, and its future stays open until the test finishes or fails
// it, in whatever order the case needs.
class FakeScanEngine : public ScanEngine
{
public:
    struct Call
    {
        QImage image;
        DetectorCategoryPreferences preferences;
        TaskHandle task;
        QPromise<QList<TextObservation>> text;
        QPromise<QList<Detection>> visual;

        void finishText(const QList<TextObservation> &lines = {})
        {
            text.addResult(lines);
            text.finish();
        }
        void failText(VelmoraCoreError error = VelmoraCoreError::textRecognitionFailed)
        {
            text.setException(VelmoraCoreException(error));
            text.finish();
        }
        void finishVisual(const QList<Detection> &detections = {})
        {
            visual.addResult(detections);
            visual.finish();
        }
        void failVisual(VelmoraCoreError error = VelmoraCoreError::visualDetectionFailed)
        {
            visual.setException(VelmoraCoreException(error));
            visual.finish();
        }
        void finish(const QList<Detection> &visualDetections = {}, const QList<TextObservation> &lines = {})
        {
            finishText(lines);
            finishVisual(visualDetections);
        }
    };

    QFuture<QList<TextObservation>> recognizeText(const QImage &image, const TaskHandle &task) override
    {
        auto call = std::make_unique<Call>();
        call->image = image;
        call->task = task;
        call->text.start();
        call->visual.start();
        m_calls.push_back(std::move(call));
        return m_calls.back()->text.future();
    }

    QFuture<QList<Detection>> detectVisualContent(const QImage &image, const DetectorCategoryPreferences &preferences,
                                                  const TaskHandle &) override
    {
        // The scan always asks for the text first, with the same image.
        Call &call = *m_calls.back();
        call.image = image;
        call.preferences = preferences;
        return call.visual.future();
    }

    int concurrentScans() const override { return scansAtOnce; }

    int callCount() const { return int(m_calls.size()); }
    Call &call(int index) { return *m_calls.at(std::size_t(index)); }
    Call &lastCall() { return *m_calls.back(); }
    /// The latest call that scans `image`; for scans that start in no fixed order.
    Call &callWith(const QImage &image)
    {
        const auto found = std::find_if(m_calls.rbegin(), m_calls.rend(), [&](const auto &call) { return call->image == image; });
        if (found == m_calls.rend())
            throw std::logic_error("no scan of that image");
        return **found;
    }

    /// What concurrentScans() answers: how many batch items a batch scan keeps in flight.
    int scansAtOnce = 1;

private:
    std::vector<std::unique_ptr<Call>> m_calls;
};

} // namespace velmora::test
