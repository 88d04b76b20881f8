#include "app/protection/protection_runtime.h"

#include "app/protection/clipboard_protection_controller.h"
#include "app/protection/screenshot_watch_controller.h"

namespace velmora {

namespace {

const QString watchWaitsForWindow = QStringLiteral("Screenshot watch is paused while the Velmora window is closed.");
const QString guardWaitsForWindow =
    QStringLiteral("Clipboard protection is paused while the Velmora window is closed.");

std::optional<ProtectionHalt> haltOf(bool isRunning, const QString &runtimeStatus)
{
    if (isRunning)
        return std::nullopt;
    return ProtectionHalt{ScreenshotProtectionReadiness::needsSetup, runtimeStatus};
}

} // namespace

ProtectionRuntime::ProtectionRuntime(QObject *parent) : QObject(parent)
{
}

void ProtectionRuntime::reportRunning(const ScreenshotWatchController &watch, const ClipboardProtectionController &guard)
{
    setHalts(haltOf(watch.isRunning(), watch.runtimeStatus()), haltOf(guard.isRunning(), guard.runtimeStatus()));
}

void ProtectionRuntime::reportWindowClosed()
{
    setHalts(ProtectionHalt{ScreenshotProtectionReadiness::off, watchWaitsForWindow},
             ProtectionHalt{ScreenshotProtectionReadiness::off, guardWaitsForWindow});
}

void ProtectionRuntime::setHalts(std::optional<ProtectionHalt> folderWatch,
                                 std::optional<ProtectionHalt> clipboardGuard)
{
    if (m_folderWatchHalt == folderWatch && m_clipboardGuardHalt == clipboardGuard)
        return;
    m_folderWatchHalt = std::move(folderWatch);
    m_clipboardGuardHalt = std::move(clipboardGuard);
    emit changed();
}

} // namespace velmora
