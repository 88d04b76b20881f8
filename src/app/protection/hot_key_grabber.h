#pragma once

#include "core/protection/capture_shortcut_settings.h"

#include <functional>
#include <memory>

namespace velmora {

// System-wide key combinations as the capture hot keys reach them. Each grab is
// known by a hot-key number; a press of a grabbed combination is handed to the
// listener with that number through a queued call, never inside the platform's
// event handling. The desktop's grabber works through X11 key grabs; without an X11
// display there is only the null grabber, which can install no listener.
class HotKeyGrabber
{
public:
    virtual ~HotKeyGrabber() = default;

    /// Starts listening for presses; false when no listener can be installed.
    virtual bool installListener(std::function<void(int hotKeyID)> onPress) = 0;
    virtual void removeListener() = 0;
    /// Grabs `choice` under `hotKeyID`; false, with nothing held, when it cannot
    /// (another program holds the combination).
    virtual bool grab(int hotKeyID, VelmoraCaptureShortcutChoice choice) = 0;
    virtual void release(int hotKeyID) = 0;

    /// The X11 grabber on an X11 display, else the null grabber.
    static std::unique_ptr<HotKeyGrabber> forThisDesktop();
};

/// A desktop without global key grabs: no listener, no grab.
class NullHotKeyGrabber : public HotKeyGrabber
{
public:
    bool installListener(std::function<void(int)>) override { return false; }
    void removeListener() override {}
    bool grab(int, VelmoraCaptureShortcutChoice) override { return false; }
    void release(int) override {}
};

} // namespace velmora
