#pragma once

#include "app/commands/command_bus.h"
#include "app/kit/desktop_services.h"
#include "app/kit/symbol_icon.h"
#include "app/protection/system_clipboard.h"
#include "app/review/review_controller.h"
#include "app/window/content_view.h"
#include "app/window/main_window.h"
#include "app/window/window_session.h"
#include "core/analysis/scan/scan_pipeline.h"

#include "support/manual_clock.h"
#include "support/recording_notification_center.h"
#include "support/scoped_environment.h"
#include "support/temp_settings.h"

#include <gtest/gtest.h>

namespace velmora::test {

// The application's main window on the X server over the real engine and the X
// clipboard, past onboarding and installed, its delays on a manual clock and its
// notifications recorded.
class WindowOnX : public ::testing::Test
{
protected:
    WindowOnX() { m_settings->setValue(Setting::didCompleteOnboarding, true); }

    const ReviewState &state() { return m_session.review().state(); }

    ScopedEnvironmentVariable m_testMode{"VELMORA_UI_TEST_MODE", "1"};
    ScopedEnvironmentVariable m_location{"VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/usr/bin/velmora"};
    TempSettings m_settings;
    ScanPipeline m_engine;
    ManualClock m_clock;
    SystemClipboard m_clipboard{m_clock};
    RecordingNotificationCenter m_notifications;
    CommandBus m_commands;
    WindowSession m_session{*m_settings, m_commands,
                            PlatformServices{m_engine, m_clipboard, m_clock, FileDialogs::none(), DesktopServices::none(),
                                             m_notifications}};
    const bool m_iconThemeSet = [] { SymbolIcon::setUpTheme(); return true; }(); ///< Before any widget.
    ContentView *m_content = new ContentView(m_session);
    MainWindow m_window{{*m_settings, m_commands, {}, [] { return true; }, [] {}, {}}, m_content};
};

} // namespace velmora::test
