#pragma once

#include "review_fixture.h"

namespace velmora::test {

// The review fixture that also counts the "re-scan completed" announcements.
class ReviewControllerTest : public ReviewFixture
{
protected:
    ReviewControllerTest()
    {
        QObject::connect(&controller, &ReviewController::customSettingsRescanCompleted, [this] { ++completionPosts; });
    }

    /// Loads the items as a batch (first one on screen) with the scan flag set; the first
    /// item's bitmap is in and its scan started.
    void loadAndScan(QList<ReviewDocument> items, int skipped = 0)
    {
        const QString sentence = items.size() == 1 ? QStringLiteral("Image loaded. Scanning on device...")
                                                   : QStringLiteral("%1 images loaded. Scanning batch on device...").arg(items.size());
        controller.loadBatch(std::move(items), sentence, skipped, true);
        drainScans();
    }

    /// Every batch row's status, in order.
    QStringList statuses() const
    {
        QStringList result;
        for (const ReviewDocument &item : state().batch.items())
            result << item.statusText();
        return result;
    }

    QList<QUuid> itemIDs() const
    {
        QList<QUuid> ids;
        for (const ReviewDocument &item : state().batch.items())
            ids.append(item.id());
        return ids;
    }

    int completionPosts = 0;
};

} // namespace velmora::test
