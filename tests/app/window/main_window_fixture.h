#pragma once

#include "app/commands/command_bus.h"
#include "app/kit/symbol_icon.h"
#include "app/protection/protection_runtime.h"
#include "app/review/review_controller.h"
#include "app/window/content_view.h"
#include "app/window/main_window.h"
#include "app/window/window_session.h"
#include "core/settings/stored_settings.h"

#include "support/event_loop.h"
#include "support/fake_clipboard.h"
#include "support/fake_file_dialogs.h"
#include "support/fake_scan_engine.h"
#include "support/image_bytes.h"
#include "support/manual_clock.h"
#include "support/recording_desktop.h"
#include "support/recording_notification_center.h"
#include "support/scoped_environment.h"
#include "support/temp_settings.h"
#include "support/window_waits.h"

#include <QApplication>

#include <functional>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora::test {

inline QByteArray pngBytes()
{
    QImage image(640, 360, QImage::Format_RGB32);
    image.fill(Qt::white);
    return encodedPng(image);
}

// A main window over platform services of the test's own: a scan engine whose answers
// the test gives, a manual clock, an in-memory clipboard, panels with canned answers, a
// desktop and a notification service that only record.
class MainWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SymbolIcon::setUpTheme();
        // Onboarding done, so that its sheet stays away unless a test asks for it.
        m_settings->setValue(Setting::didCompleteOnboarding, !m_firstStart);
        m_session = std::make_unique<WindowSession>(*m_settings, m_commands,
                                                    PlatformServices{.scanEngine = m_engine,
                                                                     .clipboard = m_clipboard,
                                                                     .clock = m_clock,
                                                                     .fileDialogs = m_dialogs,
                                                                     .desktop = m_desktop,
                                                                     .notifications = m_notifications,
                                                                     .protectionRuntime = &m_protectionRuntime});
        m_content = new ContentView(*m_session);
        m_window = std::make_unique<MainWindow>(
            MainWindow::Services{*m_settings, m_commands, {}, [] { return true; }, [this] { ++m_quits; }, {}},
            m_content);
    }

    ReviewController &review() { return m_session->review(); }
    /// An image dragged out of another application and dropped on the window.
    void dropImageBytes(const QByteArray &png)
    {
        review().openDroppedImages({{}, png});
    }
    const ReviewState &state() { return review().state(); }

    /// Opens a blank image and finishes its scan with the given recognised lines.
    void openScanned(const QList<TextObservation> &lines)
    {
        dropImageBytes(pngBytes());
        finishPoolWork();
        ASSERT_GE(m_engine.callCount(), 1);
        m_engine.lastCall().finish({}, lines);
        drainEvents();
        ASSERT_FALSE(state().isChecking());
    }

    void showActive()
    {
        ASSERT_TRUE(test::showActive(*m_window));
    }

    // An installed location, so that the install reminder stays away unless a test asks for it.
    ScopedEnvironmentVariable m_testMode{"VELMORA_UI_TEST_MODE", "1"};
    ScopedEnvironmentVariable m_location{"VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/usr/bin/velmora"};
    TempSettings m_settings;
    bool m_firstStart = false;
    int m_quits = 0;
    FakeScanEngine m_engine;
    FakeClipboard m_clipboard;
    ManualClock m_clock;
    FakeFileDialogs m_dialogs;
    RecordingDesktop m_desktop;
    RecordingNotificationCenter m_notifications;
    ProtectionRuntime m_protectionRuntime;
    CommandBus m_commands;
    std::unique_ptr<WindowSession> m_session;
    ContentView *m_content = nullptr;
    std::unique_ptr<MainWindow> m_window;
};

inline const TextObservation emailLine{QStringLiteral("Contact ada@example.com today"), {0.1, 0.6, 0.6, 0.06}, 0.97};
inline const TextObservation doubtfulLine{QStringLiteral("Contact ada@example.com today"), {0.1, 0.6, 0.6, 0.06}, 0.4};

// Opens a scanned image and draws one box on it, as the canvas asks for a drawn box.
inline void drawOnOpenedImage(ReviewController &review, const std::function<void()> &openScannedImage)
{
    openScannedImage();
    review.addManualBox({0.5, 0.5, 0.2, 0.2});
    ASSERT_EQ(review.state().redactionPlan().manualDetections().size(), 1);
}

} // namespace velmora::test
