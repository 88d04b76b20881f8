#pragma once

#include "review_fixture.h"
#include "support/plan_ids.h"

#include <QSignalSpy>

namespace velmora::test {

/// A scanned item read from "/shots/<name>" whose plan holds `detections`.
inline ReviewDocument scannedItem(const QString &name, const QList<Detection> &detections, int grey = 200)
{
    ReviewDocument item = fileItem(name, grey);
    item.adoptOwnPlan(RedactionPlan({}, detections, {}), std::nullopt);
    return item;
}

// The review fixture for the commands and the output.
class ReviewCommandsTest : public ReviewFixture
{
protected:
    /// Loads the items as a batch without scanning them; the first is on screen with its bitmap.
    void loadUnscanned(QList<ReviewDocument> items)
    {
        controller.loadBatch(std::move(items), QStringLiteral("Loaded."), 0, false);
        drainScans();
    }

    QList<QUuid> entryIDs() const { return test::entryIDs(state().redactionPlan()); }
};

} // namespace velmora::test
