#pragma once

#include "app/protection/global_capture_shortcut_controller.h"
#include "app/protection/hot_key_grabber.h"
#include "app/protection/screen_capture_service.h"
#include "app/review/capture_flow.h"

#include <QObject>

#include <functional>
#include <memory>

namespace velmora {

class CommandBus;
class ReviewIntake;
class StoredSettings;

/// The desktop services a window's capture stands on.
struct CapturePlatform
{
    ScreenCaptureTool captureTool;
    std::unique_ptr<HotKeyGrabber> hotKeyGrabber;

    /// maim and X11 key grabs where there is an X11 display.
    static CapturePlatform forThisDesktop();
};

// The main window's capture: the global hot keys, which start with the window's
// background services and register again when the stored shortcuts change, and the
// capture flow, which takes up every app-wide capture request (menus, tray, empty
// state, hot keys). Main thread only.
class CaptureServices : public QObject
{
    Q_OBJECT
public:
    /// `output` is what AutoClean of a capture writes to and where its receipt goes; the
    /// capture requests travel on `commands`.
    CaptureServices(ReviewIntake &review, CommandBus &commands, CaptureAutoOutputEnvironment output,
                    std::function<void()> bringAppForward, ReplaceReview replaceReview, CapturePlatform platform,
                    QObject *parent = nullptr);

    /// Starts a capture unless one runs or an image is being checked.
    void beginCapture(VelmoraCaptureMode mode);
    /// The hot-key steps of the window's start: presses post the capture request.
    void startHotKeys();
    /// The hot-key steps of the window's stop: every key and the listener released.
    void stopHotKeys();

private:
    CommandBus &m_commands;
    StoredSettings &m_settings;
    GlobalCaptureShortcutController m_hotKeys;
    CaptureFlow m_flow;
    bool m_hotKeysRunning = false;
};

} // namespace velmora
