#pragma once

#include "app/kit/system_desktop.h"
#include "app/protection/system_clipboard.h"
#include "app/window/platform_services.h"
#include "app/window/qt_file_dialogs.h"
#include "core/analysis/scan/scan_pipeline.h"
#include "core/support/system_clock.h"

namespace velmora {

// The desktop's own services for a main window, owned together by whoever shows the
// window: the system clipboard and clock, the on-device scan engine, Qt's file dialogs,
// the desktop's file manager and notification settings, and its notification service.
class SystemPlatform
{
public:
    SystemPlatform() = default;
    SystemPlatform(const SystemPlatform &) = delete;
    SystemPlatform &operator=(const SystemPlatform &) = delete;

    /// The services, telling the user through `notifications`.
    PlatformServices services(NotificationCenter &notifications);
    DesktopServices &desktop() { return m_desktop; }
    /// The window the file dialogs open over.
    void setDialogWindow(QWidget *window) { m_fileDialogs.setWindow(window); }

private:
    SystemClock m_clock;
    SystemClipboard m_clipboard{m_clock};
    ScanPipeline m_scanEngine;
    QtFileDialogs m_fileDialogs;
    SystemDesktop m_desktop;
};

} // namespace velmora
