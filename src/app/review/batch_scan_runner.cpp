#include "app/review/batch_scan_runner.h"

#include "app/review/future_watch.h"
#include "app/review/image_scan.h"
#include "core/analysis/scan/scan_engine.h"
#include "core/detection/core_error.h"
#include "core/support/task_handle.h"
#include "core/support/work_pools.h"

#include <QFuture>
#include <QtConcurrent>

#include <algorithm>

namespace velmora {

namespace {
/// An item's pixels decoded from its source, or why they could not be.
using Decoded = std::variant<QImage, VelmoraCoreError>;
} // namespace

// One batch scan: its task and detector, the items in queue order and those in flight.
struct BatchScanRunner::Run
{
    Run(QList<QUuid> itemIDs, SensitiveTextDetector detector, int maxInFlight)
        : detector(std::move(detector)), queue(std::move(itemIDs)), maxInFlight(maxInFlight)
    {
    }

    TaskHandle task;
    SensitiveTextDetector detector;
    QList<QUuid> queue;
    qsizetype next = 0;
    int maxInFlight;
    QList<QUuid> inFlight;
    /// The decodes whose results have not arrived yet.
    QHash<QUuid, QFuture<Decoded>> decodes;
};

BatchScanRunner::BatchScanRunner(ScanEngine &engine, BatchScanReview review, QObject *parent)
    : QObject(parent), m_engine(engine), m_review(std::move(review))
{
}

BatchScanRunner::~BatchScanRunner()
{
    cancel();
}

void BatchScanRunner::start(const QList<QUuid> &itemIDs, const SensitiveTextDetector &detector)
{
    cancel();
    m_run = std::make_shared<Run>(itemIDs, detector, std::max(1, m_engine.concurrentScans()));
    fill(m_run);
}

void BatchScanRunner::cancel()
{
    if (!m_run)
        return;
    m_run->task.cancel();
    m_run.reset();
}

QList<QUuid> BatchScanRunner::itemsInFlight() const
{
    return m_run ? m_run->inFlight : QList<QUuid>();
}

bool BatchScanRunner::isScanning(const QUuid &itemID) const
{
    return m_run && m_run->inFlight.contains(itemID);
}

bool BatchScanRunner::isDecoding() const
{
    return m_run && !m_run->decodes.isEmpty();
}

void BatchScanRunner::waitForDecodes() const
{
    if (!m_run)
        return;
    for (auto decode : std::as_const(m_run->decodes))
        decode.waitForFinished();
}

void BatchScanRunner::fill(const std::shared_ptr<Run> &run)
{
    while (m_run == run && run->inFlight.size() < run->maxInFlight && run->next < run->queue.size())
        launch(run, run->queue.at(run->next++));
    if (m_run == run && run->inFlight.isEmpty() && run->next >= run->queue.size()) {
        m_run.reset();
        m_review.finished();
    }
}

void BatchScanRunner::launch(const std::shared_ptr<Run> &run, const QUuid &itemID)
{
    const std::optional<BatchScanPixels> pixels = m_review.startItem(itemID);
    if (!pixels)
        return;
    run->inFlight.append(itemID);
    if (const auto *image = std::get_if<QImage>(&*pixels)) {
        scan(run, itemID, *image);
        return;
    }
    // Decoding a screenshot takes tens of milliseconds: never on the main thread.
    // Cancelling the run stops the decode as soon as its decoder can stop quietly.
    const auto decode = QtConcurrent::run(&WorkPools::decoding(), [source = std::get<ReviewImageSource>(*pixels),
                                                                   task = run->task]() {
        try {
            return Decoded(source.decode(task).image);
        } catch (const VelmoraCoreException &exception) {
            return Decoded(exception.error());
        }
    });
    run->decodes.insert(itemID, decode);
    whenFinished(decode, this, [this, run, itemID](const auto &decoded) {
        run->decodes.remove(itemID);
        step(run, [this, run, itemID, outcome = decoded.result()] {
            if (const auto *image = std::get_if<QImage>(&outcome)) {
                scan(run, itemID, *image);
                return;
            }
            // The file changed or went away since it was imported: only its boxes are left.
            run->inFlight.removeOne(itemID);
            if (const auto boxes = m_review.boxes(itemID))
                m_review.finishItem(itemID, std::get<VelmoraCoreError>(outcome), *boxes);
            fill(run);
        });
    });
}

void BatchScanRunner::scan(const std::shared_ptr<Run> &run, const QUuid &itemID, const QImage &image)
{
    const std::optional<BatchScanBoxes> boxes = m_review.boxes(itemID);
    if (!boxes) {
        run->inFlight.removeOne(itemID);
        fill(run);
        return;
    }
    scanImage(m_engine, this, ScanRequest{image, run->detector, boxes->detections, boxes->activeStates},
              m_review.preferences, run->task, [this, run, itemID, boxes = *boxes](const ScanOutcome &outcome) {
                  step(run, [this, run, itemID, &outcome, &boxes] {
                      run->inFlight.removeOne(itemID);
                      m_review.finishItem(itemID, outcome, boxes);
                      fill(run);
                  });
              });
}

void BatchScanRunner::step(const std::shared_ptr<Run> &run, const std::function<void()> &work)
{
    if (m_run != run)
        return;
    m_review.asOneChange(work);
}

} // namespace velmora
