#include "app/protection/global_capture_shortcut_controller.h"

#include "core/protection/capture_shortcut_settings.h"

#include "support/temp_settings.h"

#include <QList>
#include <gtest/gtest.h>

#include <optional>

namespace velmora::test {
namespace {

// This suite runs offscreen: there is no X11 display, so no listener and no hot key.
TEST(GlobalCaptureShortcutControllerTest, WithoutX11RegisteringSaysThereIsNoListener)
{
    TempSettings settings;
    GlobalCaptureShortcutController controller(*settings, HotKeyGrabber::forThisDesktop());
    controller.installEventHandler();
    EXPECT_FALSE(controller.hasEventHandler());
    EXPECT_EQ(settings->value(Setting::captureShortcutRegistrationStatus), CaptureShortcutStatus::noListener);

    settings->remove(Setting::captureShortcutRegistrationStatus);
    controller.registerShortcuts();
    EXPECT_EQ(settings->value(Setting::captureShortcutRegistrationStatus), CaptureShortcutStatus::noListener);
    EXPECT_TRUE(controller.registeredModes().isEmpty());
}

TEST(GlobalCaptureShortcutControllerTest, DispatchReachesOnlyTheActiveControllersCallback)
{
    TempSettings settings;
    QList<VelmoraCaptureMode> received;
    std::optional<GlobalCaptureShortcutController> controller;
    controller.emplace(*settings, std::make_unique<NullHotKeyGrabber>());

    GlobalCaptureShortcutController::dispatch(VelmoraCaptureMode::area); // no active controller
    GlobalCaptureShortcutController::setActive(&*controller);
    GlobalCaptureShortcutController::dispatch(VelmoraCaptureMode::area); // no callback
    controller->setOnShortcut([&](VelmoraCaptureMode mode) { received << mode; });
    GlobalCaptureShortcutController::dispatch(std::nullopt); // an id that names no mode
    GlobalCaptureShortcutController::dispatch(VelmoraCaptureMode::window);
    controller.reset(); // the window went away
    GlobalCaptureShortcutController::dispatch(VelmoraCaptureMode::screen);

    EXPECT_EQ(received, QList<VelmoraCaptureMode>{VelmoraCaptureMode::window});
    EXPECT_EQ(GlobalCaptureShortcutController::active(), nullptr);
}

TEST(GlobalCaptureShortcutControllerTest, RegistrationFailuresAreJoinedInOneSentence)
{
    EXPECT_EQ(CaptureShortcutStatus::registrationFailed({QStringLiteral("Capture screen: Alt-Shift-3"),
                                                         QStringLiteral("Capture area: Alt-Shift-1")}),
              QStringLiteral("Could not register Capture screen: Alt-Shift-3, Capture area: Alt-Shift-1. Choose another "
                             "shortcut or use the menu bar fallback."));
}

} // namespace
} // namespace velmora::test
