#pragma once

#include "app/protection/autoclean_undo_coordinator.h"
#include "app/protection/clipboard_protection_controller.h"
#include "app/review/review_controller.h"
#include "core/history/safe_share_history_store.h"

#include "review_test_items.h"
#include "support/event_loop.h"
#include "support/fake_clipboard.h"
#include "support/fake_file_dialogs.h"
#include "support/fake_scan_engine.h"
#include "support/manual_clock.h"
#include "support/recording_desktop.h"
#include "support/temp_settings.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace velmora::test {

// What a review runs over in the tests: the engine and clipboard of the test's choice, a
// manual clock, the clipboard's guard, panels with canned answers (cancelled unless a
// test gives one), a desktop that only records and settings of the test's own.
template <typename Engine, typename Clipboard>
struct ReviewServicesOver
{
    ReviewEnvironment environment()
    {
        return {.scanEngine = engine, .settings = *settings, .clipboard = clipboard, .clock = clock,
                .clipboardGuard = guard, .autoCleanUndo = autoCleanUndo, .fileDialogs = dialogs, .desktop = desktop};
    }

    static Clipboard makeClipboard(ManualClock &clock)
    {
        if constexpr (std::is_constructible_v<Clipboard, Clock &>)
            return Clipboard(clock);
        else
            return Clipboard();
    }

    Engine engine;
    TempSettings settings;
    ManualClock clock;
    /// The desktop's clipboard times its owner's answers on the clock.
    Clipboard clipboard = makeClipboard(clock);
    FakeFileDialogs dialogs;
    RecordingDesktop desktop;
    ClipboardProtectionController guard{clipboard, *settings, clock};
    AutoCleanUndoCoordinator autoCleanUndo{clipboard, clock};
};

// The usual services: a fake engine whose answers the test gives and an in-memory clipboard.
using ReviewServices = ReviewServicesOver<FakeScanEngine, FakeClipboard>;

// A review controller over those services.
class ReviewFixture : public ::testing::Test, protected ReviewServices
{
protected:
    const ReviewState &state() const { return controller.state(); }
    const ReviewBanner &banner() const { return controller.banner(); }
    QList<SafeShareHistoryRecord> history() { return SafeShareHistoryStore::load(*settings).records; }

    /// Loads one image and completes its scan with the given visual findings.
    void loadScanned(const QList<Detection> &visual, ReviewDocument item = fileItem("one.png"))
    {
        controller.loadBatch({std::move(item)}, QStringLiteral("Image loaded. Scanning on device..."), 0, true);
        drainScans();
        engine.lastCall().finish(visual);
        drainScans();
    }

    /// Lets the work on the thread pool (imports, decodes, copies and exports) end and
    /// report; the batch scan's next scans start.
    void drainScans() { finishPoolWork(); }

    ReviewController controller{environment()};
};

} // namespace velmora::test
