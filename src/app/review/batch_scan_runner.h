#pragma once

#include "app/review/review_image_source.h"
#include "core/analysis/scan/scan_run.h"
#include "core/analysis/rules/sensitive_text_detector.h"
#include "core/detection/detector_category_preferences.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>
#include <variant>

namespace velmora {

class ScanEngine;

/// The pixels of a batch item whose turn has come: the bitmap already on screen, or its
/// source, decoded off the main thread.
using BatchScanPixels = std::variant<QImage, ReviewImageSource>;

/// The user's boxes on an item as its scan starts, each in its on/off state.
struct BatchScanBoxes
{
    QList<Detection> detections;
    QHash<QUuid, bool> activeStates;
};

/// What the batch scan reaches of the review; each is called on the main thread.
struct BatchScanReview
{
    /// The item's turn has come: it reads as checking. Its pixels, or nothing for an
    /// item no longer in the batch.
    std::function<std::optional<BatchScanPixels>(const QUuid &itemID)> startItem;
    /// The item's boxes now, taken when its scan starts (boxes drawn while it was queued
    /// are kept); nothing for an item no longer in the batch.
    std::function<std::optional<BatchScanBoxes>(const QUuid &itemID)> boxes;
    /// The item's scan ended with a plan or an error (its pixels could not be decoded
    /// again, say); `boxes` are those it started with.
    std::function<void(const QUuid &itemID, const ScanOutcome &outcome, const BatchScanBoxes &boxes)> finishItem;
    /// Every item of the run has had its turn.
    std::function<void()> finished;
    /// The visual categories switched on, read as each scan starts.
    std::function<DetectorCategoryPreferences()> preferences;
    /// Runs one step of the batch scan (a decode or a scan that ended, with the next
    /// items it starts) as one change of the review.
    std::function<void(const std::function<void()> &step)> asOneChange;
};

// The review's batch scan: scans a list of batch items in queue order, as many at once
// as the scan engine runs well side by side, each decoded off the main thread when its
// turn comes. A run holds one detector and one task; a new run or a cancel drops
// everything the old one still delivers. Owned by the review controller; main thread only.
class BatchScanRunner : public QObject
{
    Q_OBJECT
public:
    BatchScanRunner(ScanEngine &engine, BatchScanReview review, QObject *parent = nullptr);
    ~BatchScanRunner() override;

    /// Cancels the running batch scan and starts a new run over these items.
    void start(const QList<QUuid> &itemIDs, const SensitiveTextDetector &detector);
    /// Stops every item in flight; the queued ones are never started.
    void cancel();
    bool isRunning() const { return m_run != nullptr; }
    /// The items whose turn has come and whose scan has not ended, in queue order.
    QList<QUuid> itemsInFlight() const;
    bool isScanning(const QUuid &itemID) const;
    /// An item's pixels are being decoded.
    bool isDecoding() const;
    /// Waits until the decodes started so far have ended (their results still arrive
    /// through the event loop), for whoever must know what the next scans are.
    void waitForDecodes() const;

private:
    struct Run;

    /// Starts queued items until the engine's share is in flight; ends a run with none left.
    void fill(const std::shared_ptr<Run> &run);
    void launch(const std::shared_ptr<Run> &run, const QUuid &itemID);
    void scan(const std::shared_ptr<Run> &run, const QUuid &itemID, const QImage &image);
    /// Runs a step of `run` while it is still the current run.
    void step(const std::shared_ptr<Run> &run, const std::function<void()> &work);

    ScanEngine &m_engine;
    BatchScanReview m_review;
    std::shared_ptr<Run> m_run;
};

} // namespace velmora
