#include "app/commands/command_bus.h"
#include "app/protection/xcb_hot_key_grabber.h"
#include "app/review/review_fixture.h"
#include "app/window/capture_services.h"
#include "core/protection/capture_shortcut_settings.h"

#include "support/event_loop.h"
#include "support/fake_capture_tool.h"
#include "support/recording_notification_center.h"
#include "support/xdotool.h"
#include "x11/support/other_x_client.h"

#include <QTest>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

constexpr uint16_t shiftMask = 0x1;
constexpr uint16_t controlMask = 0x4;
constexpr uint16_t altMask = 0x8;
constexpr uint32_t digitThree = '3';

// A window's capture services on the X server: real key grabs, a capture tool that
// only records how it was started, and the app-wide command bus.
class CaptureServicesTest : public ::testing::Test, protected ReviewServices
{
protected:
    CaptureServicesTest()
    {
        commands.observe(commands::velmoraCaptureRequested, &commands,
                         [this](VelmoraCaptureMode mode) { requested << rawValue(mode); });
    }

    CaptureServices &services()
    {
        if (!m_services) {
            m_services = std::make_unique<CaptureServices>(
                controller.intake(), commands,
                CaptureAutoOutputEnvironment{*settings, clipboard, clock, guard.monitorPlan(), autoCleanUndo,
                                             notifications, [] { return true; }},
                [] {}, [](const auto &open, const auto &) { open(); },
                CapturePlatform{tool.tool(), XcbHotKeyGrabber::create()});
        }
        return *m_services;
    }
    void changeScreenShortcut(VelmoraCaptureShortcutChoice choice)
    {
        settings->setValue(captureShortcutSetting(VelmoraCaptureMode::screen), rawValue(choice));
        drainEvents();
    }

    ReviewController controller{environment()};
    CommandBus commands;
    RecordingNotificationCenter notifications;
    FakeCaptureTool tool{"exec cat"};
    OtherXClient other;
    QStringList requested;

private:
    std::unique_ptr<CaptureServices> m_services;
};

TEST_F(CaptureServicesTest, AShortcutChangeRegistersTheHotKeysAgain)
{
    services().startHotKeys();
    EXPECT_FALSE(other.grabKey(digitThree, altMask | shiftMask));

    changeScreenShortcut(VelmoraCaptureShortcutChoice::controlOption3);
    EXPECT_TRUE(other.grabKey(digitThree, altMask | shiftMask));
    EXPECT_FALSE(other.grabKey(digitThree, controlMask | altMask));
    ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+alt+3")}));
    ASSERT_TRUE(waitUntil([&] { return !requested.isEmpty(); }, "the hot key's capture request"));
    EXPECT_EQ(requested.first(), QStringLiteral("screen"));
    services().stopHotKeys();
    controller.closeCurrentReview();
}

TEST_F(CaptureServicesTest, StoppedHotKeysStayReleasedThroughAShortcutChange)
{
    services().startHotKeys();
    services().stopHotKeys();
    EXPECT_EQ(GlobalCaptureShortcutController::active(), nullptr);
    changeScreenShortcut(VelmoraCaptureShortcutChoice::controlOption3);
    EXPECT_TRUE(other.grabKey(digitThree, controlMask | altMask));
    EXPECT_TRUE(other.grabKey('1', altMask | shiftMask));
}

TEST_F(CaptureServicesTest, ACaptureRequestStartsTheCaptureTool)
{
    services();
    commands.post(commands::velmoraCaptureRequested, VelmoraCaptureMode::area);
    EXPECT_TRUE(controller.state().captureTask.has_value());
    EXPECT_EQ(controller.state().reviewStatusNote(), captureModeInfo(VelmoraCaptureMode::area).statusHint);
    ASSERT_TRUE(waitUntil([&] { return tool.arguments().contains(QStringLiteral("-s")); }, "the capture tool to start"));
    controller.closeCurrentReview();
    EXPECT_TRUE(waitUntil([&] { return tool.leftovers().isEmpty() && !controller.state().captureTask; },
                          "the closed capture to end and leave no file"));
}

} // namespace
} // namespace velmora::test
