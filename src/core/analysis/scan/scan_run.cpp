#include "core/analysis/scan/scan_run.h"

#include "core/support/log_categories.h"

#include <QElapsedTimer>
#include <QPromise>

#include <memory>
#include <mutex>
#include <optional>

namespace velmora {

namespace {

double millisecondsOf(qint64 nanoseconds)
{
    return double(nanoseconds) / 1e6;
}

/// The value of a finished step, or the engine error it failed with. Any other
/// failure (a foreign exception, a future cancelled without a value) reads as
/// `fallback`, the error of that step.
template <typename T>
std::variant<T, VelmoraCoreError> stepOutcome(QFuture<T> future, VelmoraCoreError fallback)
{
    try {
        future.waitForFinished(); // it has: this throws the step's exception, if any
        if (!future.isCanceled() && future.resultCount() > 0)
            return future.result();
    } catch (const VelmoraCoreException &exception) {
        return exception.error();
    } catch (const std::exception &exception) {
        qCWarning(lcScan) << "Scan step failed with an unexpected exception:" << exception.what();
    } catch (...) {
        qCWarning(lcScan) << "Scan step failed with an unexpected exception";
    }
    return fallback;
}

/// Calls `handler` with the step's outcome once the step has ended, however it ended.
template <typename T, typename Handler>
void whenStepEnds(const QFuture<T> &step, VelmoraCoreError fallback, Handler handler)
{
    QFuture<T>(step)
        .then([handler, fallback](QFuture<T> ended) { handler(stepOutcome(ended, fallback)); })
        .onCanceled([handler, fallback] { handler(std::variant<T, VelmoraCoreError>(fallback)); });
}

// What one scan keeps between its steps; shared by the two steps' continuations,
// which may run at the same time on different threads.
class ScanJoin
{
public:
    ScanJoin(ScanRequest request, TaskHandle task) : m_request(std::move(request)), m_task(std::move(task))
    {
        m_clock.start();
        m_promise.start();
    }

    QFuture<ScanReport> future() { return m_promise.future(); }
    const QImage &image() const { return m_request.image; }

    void textEnded(const std::variant<QList<TextObservation>, VelmoraCoreError> &outcome)
    {
        const qint64 recognized = m_clock.nsecsElapsed();
        std::optional<VelmoraCoreError> error;
        SensitiveTextFindings findings;
        qsizetype lineCount = 0;
        if (const auto *failure = std::get_if<VelmoraCoreError>(&outcome)) {
            error = *failure;
        } else if (!m_task.isCancelled()) {
            const auto &lines = std::get<QList<TextObservation>>(outcome);
            lineCount = lines.size();
            findings = m_request.detector.scan(lines);
        }
        const qint64 passed = m_clock.nsecsElapsed();
        {
            const std::lock_guard lock(m_mutex);
            m_textError = error;
            m_textFindings = std::move(findings);
            m_report.lineCount = lineCount;
            m_report.timings.recognizeMs = millisecondsOf(recognized);
            m_report.timings.detectMs = millisecondsOf(passed - recognized);
        }
        stepEnded();
    }

    void visualEnded(const std::variant<QList<Detection>, VelmoraCoreError> &outcome)
    {
        const qint64 ended = m_clock.nsecsElapsed();
        {
            const std::lock_guard lock(m_mutex);
            if (const auto *failure = std::get_if<VelmoraCoreError>(&outcome))
                m_visualError = *failure;
            else
                m_visualDetections = std::get<QList<Detection>>(outcome);
            m_report.timings.visualMs = millisecondsOf(ended);
        }
        stepEnded();
    }

private:
    void stepEnded()
    {
        {
            const std::lock_guard lock(m_mutex);
            if (--m_pendingSteps > 0)
                return;
        }
        // Both steps have ended: nothing else touches the state now.
        const qint64 planning = m_clock.nsecsElapsed();
        if (m_textError)
            m_report.outcome = *m_textError;
        else if (m_visualError)
            m_report.outcome = *m_visualError;
        else if (m_task.isCancelled())
            m_report.outcome = ScanCancelled{};
        else
            m_report.outcome = ScannedPlan{buildScanPlan(m_textFindings.detections, m_visualDetections,
                                                         m_request.manualDetections, m_request.manualActiveStates),
                                           m_textFindings.customPatternsSkipped};
        const qint64 finished = m_clock.nsecsElapsed();
        m_report.timings.planMs = millisecondsOf(finished - planning);
        m_report.timings.totalMs = millisecondsOf(finished);
        m_promise.addResult(m_report);
        m_promise.finish();
    }

    const ScanRequest m_request;
    const TaskHandle m_task;
    QElapsedTimer m_clock;
    QPromise<ScanReport> m_promise;
    std::mutex m_mutex;
    int m_pendingSteps = 2;
    std::optional<VelmoraCoreError> m_textError;
    std::optional<VelmoraCoreError> m_visualError;
    SensitiveTextFindings m_textFindings;
    QList<Detection> m_visualDetections;
    ScanReport m_report;
};

} // namespace

RedactionPlan buildScanPlan(const QList<Detection> &textDetections, const QList<Detection> &visualDetections,
                            const QList<Detection> &manualDetections, const QHash<QUuid, bool> &manualActiveStates)
{
    RedactionPlan plan(textDetections, visualDetections, manualDetections);
    for (auto state = manualActiveStates.cbegin(); state != manualActiveStates.cend(); ++state)
        plan.setActive(state.value(), state.key());
    return plan;
}

QFuture<ScanReport> runScan(ScanEngine &engine, ScanRequest request, const DetectorCategoryPreferences &visualPreferences,
                            TaskHandle task)
{
    auto join = std::make_shared<ScanJoin>(std::move(request), task);
    const QFuture<ScanReport> report = join->future();
    const auto text = engine.recognizeText(join->image(), task);
    const auto visual = engine.detectVisualContent(join->image(), visualPreferences, task);
    whenStepEnds(text, VelmoraCoreError::textRecognitionFailed, [join](const auto &outcome) { join->textEnded(outcome); });
    whenStepEnds(visual, VelmoraCoreError::visualDetectionFailed,
                 [join](const auto &outcome) { join->visualEnded(outcome); });
    return report;
}

} // namespace velmora
