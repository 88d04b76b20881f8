#pragma once

#include "app/review/review_controller.h"
#include "app/shell/command_bus.h"
#include "app/shell/command_names.h"

#include "review_test_items.h"
#include "support/event_loop.h"
#include "support/fake_clipboard.h"
#include "support/fake_scan_engine.h"
#include "support/manual_clock.h"
#include "support/temp_settings.h"

#include <gtest/gtest.h>

namespace velmora::test {

// A review controller over a fake engine, a manual clock, an in-memory clipboard and
// settings of the test's own; counts the "re-scan completed" posts.
class ReviewControllerTest : public ::testing::Test
{
protected:
    ReviewControllerTest()
    {
        CommandBus::instance().observe(QString(commands::velmoraCustomDetectionSettingsRescanCompleted), &m_observer,
                                       [this](const QVariant &, const QVariantMap &) { ++completionPosts; });
    }

    const ReviewState &state() const { return controller.state(); }

    /// Loads the items as a batch (first one on screen) with the scan flag set.
    void loadAndScan(QList<BatchReviewItem> items, int skipped = 0)
    {
        const QString sentence = items.size() == 1 ? QStringLiteral("Image loaded. Scanning on device...")
                                                   : QStringLiteral("%1 images loaded. Scanning batch on device...").arg(items.size());
        controller.loadBatch(std::move(items), sentence, skipped, true);
    }

    /// Loads one image and completes its scan with the given visual findings.
    void loadScanned(const QList<Detection> &visual, BatchReviewItem item = fileItem("one.png"))
    {
        loadAndScan({std::move(item)});
        engine.lastCall().finish(visual);
        drainEvents();
    }

    QList<QUuid> itemIDs() const
    {
        QList<QUuid> ids;
        for (const BatchReviewItem &item : state().batchItems)
            ids.append(item.id);
        return ids;
    }

    FakeScanEngine engine;
    TempSettings settings;
    FakeClipboard clipboard;
    ManualClock clock;
    ReviewController controller{{engine, *settings, clipboard, clock}};
    int completionPosts = 0;

private:
    QObject m_observer;
};

} // namespace velmora::test
