#pragma once

#include "app/review/review_controller.h"

#include "review_test_items.h"
#include "support/event_loop.h"
#include "support/fake_clipboard.h"
#include "support/fake_file_dialogs.h"
#include "support/fake_scan_engine.h"
#include "support/manual_clock.h"
#include "support/temp_settings.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace velmora::test {

/// A scanned item read from "/shots/<name>" whose plan holds `detections`.
inline BatchReviewItem scannedItem(const QString &name, const QList<Detection> &detections, int grey = 200)
{
    BatchReviewItem item = fileItem(name, grey);
    item.redactionPlan = RedactionPlan({}, detections, {});
    item.didScan = true;
    return item;
}

// A review controller for the commands and the output: a fake engine, a manual clock,
// an in-memory clipboard, panels with canned answers and settings of the test's own.
class ReviewCommandsTest : public ::testing::Test
{
protected:
    const ReviewState &state() const { return controller.state(); }

    /// Loads the items as a batch without scanning them; the first is on screen.
    void loadUnscanned(QList<BatchReviewItem> items)
    {
        controller.loadBatch(std::move(items), QStringLiteral("Loaded."), 0, false);
    }

    /// Loads one image and completes its scan with the given findings.
    void loadScanned(const QList<Detection> &visual, BatchReviewItem item = fileItem("one.png"))
    {
        controller.loadBatch({std::move(item)}, QStringLiteral("Image loaded. Scanning on device..."), 0, true);
        engine.lastCall().finish(visual);
        drainEvents();
    }

    QList<QUuid> entryIDs() const
    {
        QList<QUuid> ids;
        for (const RedactionPlanEntry &entry : state().redactionPlan.entries())
            ids.append(entry.id());
        return ids;
    }

    FakeScanEngine engine;
    TempSettings settings;
    FakeClipboard clipboard;
    ManualClock clock;
    FakeFileDialogs dialogs;
    ReviewController controller{{engine, *settings, clipboard, clock, dialogs}};
};

} // namespace velmora::test
