#include "app/window/capture_services.h"

#include "app/commands/capture_request.h"
#include "app/commands/command_bus.h"
#include "app/commands/command_names.h"

namespace velmora {

CapturePlatform CapturePlatform::forThisDesktop()
{
    return {ScreenCaptureTool::forThisDesktop(), HotKeyGrabber::forThisDesktop()};
}

CaptureServices::CaptureServices(ReviewIntake &review, CaptureAutoOutputEnvironment output,
                                 std::function<void()> bringAppForward, ReplaceReview replaceReview,
                                 CapturePlatform platform, QObject *parent)
    : QObject(parent)
    , m_hotKeys(output.settings, std::move(platform.hotKeyGrabber))
    , m_flow(review, CaptureFlowEnvironment{ScreenCaptureService(std::move(platform.captureTool)), std::move(output),
                                            std::move(bringAppForward), std::move(replaceReview)})
{
    CommandBus &bus = CommandBus::instance();
    observeCaptureRequests(this, [this](VelmoraCaptureMode mode) { beginCapture(mode); });
    // A closed window keeps its hot keys released until it is shown again.
    bus.observe(commands::velmoraCaptureShortcutSettingsDidChange, this, [this](const QVariant &, const QVariantMap &) {
        if (m_hotKeysRunning)
            m_hotKeys.registerShortcuts();
    });
}

void CaptureServices::beginCapture(VelmoraCaptureMode mode)
{
    m_flow.beginCapture(mode);
}

void CaptureServices::startHotKeys()
{
    m_hotKeysRunning = true;
    m_hotKeys.setOnShortcut(postCaptureRequest);
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
