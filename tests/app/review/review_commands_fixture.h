#pragma once

#include "review_fixture.h"
#include "support/plan_ids.h"

#include <QSignalSpy>

namespace velmora::test {

/// A scanned item read from "/shots/<name>" whose plan holds `detections`.
inline BatchReviewItem scannedItem(const QString &name, const QList<Detection> &detections, int grey = 200)
{
    BatchReviewItem item = fileItem(name, grey);
    item.redactionPlan = RedactionPlan({}, detections, {});
    item.didScan = true;
    item.scanEnded = true;
    return item;
}

// The review fixture for the commands and the output.
class ReviewCommandsTest : public ReviewFixture
{
protected:
    /// Loads the items as a batch without scanning them; the first is on screen.
    void loadUnscanned(QList<BatchReviewItem> items)
    {
        controller.loadBatch(std::move(items), QStringLiteral("Loaded."), 0, false);
    }

    QList<QUuid> entryIDs() const { return test::entryIDs(state().redactionPlan()); }
};

} // namespace velmora::test
