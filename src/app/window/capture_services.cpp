#include "app/window/capture_services.h"

#include "app/commands/command_bus.h"
#include "core/settings/settings_watch.h"

namespace velmora {

CapturePlatform CapturePlatform::forThisDesktop()
{
    return {ScreenCaptureTool::forThisDesktop(), HotKeyGrabber::forThisDesktop()};
}

CaptureServices::CaptureServices(ReviewIntake &review, CommandBus &commands, CaptureAutoOutputEnvironment output,
                                 std::function<void()> bringAppForward, ReplaceReview replaceReview,
                                 CapturePlatform platform, QObject *parent)
    : QObject(parent)
    , m_commands(commands)
    , m_settings(output.settings)
    , m_hotKeys(m_settings, std::move(platform.hotKeyGrabber))
    , m_flow(review, CaptureFlowEnvironment{ScreenCaptureService(std::move(platform.captureTool)), std::move(output),
                                            std::move(bringAppForward), std::move(replaceReview)})
{
    m_commands.observe(commands::velmoraCaptureRequested, this,
                       [this](VelmoraCaptureMode mode) { beginCapture(mode); });
    // A closed window keeps its hot keys released until it is shown again.
    const auto registerAgain = [this] {
        if (m_hotKeysRunning)
            m_hotKeys.registerShortcuts();
    };
    new SettingsWatch(m_settings, {Setting::areaShortcutID, Setting::windowShortcutID, Setting::screenShortcutID},
                      registerAgain, this);
}

void CaptureServices::beginCapture(VelmoraCaptureMode mode)
{
    m_flow.beginCapture(mode);
}

void CaptureServices::startHotKeys()
{
    m_hotKeysRunning = true;
    m_hotKeys.setOnShortcut(
        [this](VelmoraCaptureMode mode) { m_commands.post(commands::velmoraCaptureRequested, mode); });
    GlobalCaptureShortcutController::setActive(&m_hotKeys);
    m_hotKeys.installEventHandler();
    m_hotKeys.registerShortcuts();
}

void CaptureServices::stopHotKeys()
{
    m_hotKeysRunning = false;
    m_hotKeys.unregisterAll();
    m_hotKeys.removeEventHandler();
    if (GlobalCaptureShortcutController::active() == &m_hotKeys)
        GlobalCaptureShortcutController::setActive(nullptr);
}

} // namespace velmora
