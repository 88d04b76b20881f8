#pragma once

#include "app/protection/notification_center.h"

namespace velmora {

class ClipboardAccess;
class Clock;
class DesktopServices;
class FileDialogs;
class ProtectionRuntime;
class ScanEngine;

// The desktop services a main window stands on. The application gives the real ones
// (SystemPlatform), a test its own (a manual clock, an in-memory clipboard, a
// recording desktop); each outlives the window.
struct PlatformServices
{
    /// Recognises text and finds faces and codes for every scan of the window.
    ScanEngine &scanEngine;
    ClipboardAccess &clipboard;
    /// The time and every delay of the window and its review.
    Clock &clock;
    /// The open and save panels.
    FileDialogs &fileDialogs;
    /// The file manager and the notification settings.
    DesktopServices &desktop;
    /// Tells the user of background results while Velmora is not in front.
    NotificationCenter &notifications = NotificationCenter::none();
    /// Where the window tells how its background protections run, for the settings
    /// window; none where nobody asks.
    ProtectionRuntime *protectionRuntime = nullptr;
};

} // namespace velmora
