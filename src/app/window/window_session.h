#pragma once

#include "app/protection/autoclean_undo_coordinator.h"
#include "app/protection/clipboard_protection_controller.h"
#include "app/protection/screenshot_watch_controller.h"
#include "app/review/capture_flow.h"
#include "app/review/clipboard_scan_flow.h"
#include "app/review/review_controller.h"
#include "app/review/unsaved_manual_edits.h"
#include "app/review/watched_screenshot_flow.h"
#include "app/window/capture_services.h"
#include "app/window/help_sheet_host.h"
#include "app/window/install_location.h"
#include "app/window/platform_services.h"
#include "core/settings/settings_save_retry.h"

#include <QObject>

#include <functional>

namespace velmora {

class CommandBus;
class ProtectionRuntime;
class StoredSettings;

/// What the session asks of the window that shows it. Until a window is attached the
/// window is never brought forward, nothing asks before the review is replaced, and the
/// Quick Start sample does not load.
struct WindowSessionHooks
{
    /// Brings the application and the window to the front.
    std::function<void()> bringWindowForward = [] {};
    /// Runs `open`, which replaces the review, once nothing would be lost or the user
    /// agreed; runs `wait` instead while another application is in front and hand-made
    /// boxes would be lost.
    ReplaceReview replaceReview = [](const std::function<void()> &open, const std::function<void()> &) { open(); };
    /// Loads the Quick Start sample, after asking about hand-made boxes that would be lost.
    std::function<void()> loadQuickStartSample = [] {};
};

// What a main window works with besides its widgets, for as long as the window lives:
// the review, the clipboard guard with its scan and the AutoClean undo, the screenshot
// watch with its scan, the capture (its flow and hot keys), the install check, the help
// sheets, the count of unsaved hand-made boxes and the retries of settings that could not
// be saved. It starts and stops the background protections, tells the protection runtime
// how they run, and answers the app-wide commands that reach none of the window's
// widgets. The window's view binds its panes to it. Main thread only.
class WindowSession : public QObject
{
    Q_OBJECT
public:
    /// Every scan, delay, clipboard access, panel and desktop call of the window and its
    /// review goes through `platform`; the app-wide commands it posts and observes travel
    /// on `commands`. `capture` is the capture tool and hot keys the capture runs on.
    WindowSession(StoredSettings &settings, CommandBus &commands, PlatformServices platform,
                  CapturePlatform capture = CapturePlatform::forThisDesktop(), QObject *parent = nullptr);
    ~WindowSession() override;

    /// The window that shows the session; empty hooks once it goes away.
    void attachWindow(WindowSessionHooks hooks);

    StoredSettings &settings() const { return m_settings; }
    CommandBus &commands() const { return m_commands; }
    Clock &clock() const { return m_clock; }
    ReviewController &review() { return m_review; }
    ClipboardProtectionController &clipboardGuard() { return m_clipboardGuard; }
    ClipboardScanFlow &clipboardScan() { return m_clipboardScan; }
    WatchedScreenshotFlow &watchedScreenshots() { return m_watchedScreenshots; }
    ScreenshotWatchController &screenshotWatch() { return m_screenshotWatch; }
    ApplicationInstallController &installController() { return m_installController; }
    HelpSheetHost &helpSheets() { return m_helpSheets; }
    const UnsavedManualEdits &unsavedManualEdits() const { return m_unsavedEdits; }

    /// When the window is shown: the background protections by their stored settings,
    /// then the install-location check, then onboarding unless the reminder came up.
    void startBackgroundServices();
    /// When the window goes away: protections stopped, every running scan cancelled.
    void stopBackgroundServices();
    bool backgroundServicesRunning() const { return m_backgroundServicesRunning; }
    /// Asks for the settings window's Detection tab 0.2 s from now, once the window that
    /// was just asked for is up.
    void openDetectionSettingsSoon();

private:
    void observeCommands();
    /// (Re)starts the clipboard guard from its stored settings, handing its images to its scan.
    void startClipboardGuard();
    /// (Re)starts the screenshot watch from its stored settings, handing new files to its scan.
    void applyScreenshotWatchSettings();
    /// Tells the protection runtime how the watch and the guard run now.
    void reportProtections();

    StoredSettings &m_settings;
    CommandBus &m_commands;
    Clock &m_clock;
    ProtectionRuntime *m_protectionRuntime = nullptr;
    WindowSessionHooks m_hooks;
    ClipboardProtectionController m_clipboardGuard;
    AutoCleanUndoCoordinator m_autoCleanUndo;
    ReviewController m_review;
    ClipboardScanFlow m_clipboardScan;
    WatchedScreenshotFlow m_watchedScreenshots;
    ScreenshotWatchController m_screenshotWatch;
    CaptureServices m_capture;
    ApplicationInstallController m_installController;
    HelpSheetHost m_helpSheets;
    UnsavedManualEdits m_unsavedEdits;
    SettingsSaveRetry m_settingsSaveRetry;
    bool m_backgroundServicesRunning = false;
};

} // namespace velmora
