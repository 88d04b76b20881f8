#include "core/protection/protection_status.h"

#include "core/text/unicode_text.h"

namespace velmora {

QString title(ScreenshotProtectionRail rail)
{
    switch (rail) {
    case ScreenshotProtectionRail::velmoraCapture: return QStringLiteral("Velmora Capture");
    case ScreenshotProtectionRail::folderWatch: return QStringLiteral("Folder Watch");
    case ScreenshotProtectionRail::clipboardGuard: return QStringLiteral("Clipboard Guard");
    case ScreenshotProtectionRail::policy: return QStringLiteral("Policy");
    }
    return {};
}

QString title(ScreenshotProtectionReadiness readiness)
{
    switch (readiness) {
    case ScreenshotProtectionReadiness::on: return QStringLiteral("On");
    case ScreenshotProtectionReadiness::off: return QStringLiteral("Off");
    case ScreenshotProtectionReadiness::needsSetup: return QStringLiteral("Needs setup");
    case ScreenshotProtectionReadiness::needsPermission: return QStringLiteral("Needs permission");
    }
    return {};
}

namespace ScreenshotProtectionStatusBuilder {

QList<ScreenshotProtectionStatusItem> items(const ScreenshotProtectionStatusInput &input)
{
    return {captureItem(input), folderWatchItem(input), clipboardGuardItem(input), policyItem(input)};
}

ScreenshotProtectionStatusItem captureItem(const ScreenshotProtectionStatusInput &input)
{
    using Readiness = ScreenshotProtectionReadiness;
    constexpr auto rail = ScreenshotProtectionRail::velmoraCapture;
    if (input.captureNeedsPermission)
        return {rail, Readiness::needsPermission,
                QStringLiteral("Allow screen capture in your desktop's privacy settings before using capture "
                               "shortcuts.")};
    if (savesToFolder(input.captureOutputMode) && !input.captureSaveFolderSelected)
        return {rail, Readiness::needsSetup,
                QStringLiteral("Choose an auto-save folder or switch capture output back to review.")};
    const QString shortcuts = input.captureShortcutsEnabled
        ? QStringLiteral("Global shortcuts are configured.")
        : QStringLiteral("Menu bar capture is still available; shortcuts are disabled.");
    return {rail, Readiness::on, title(input.captureOutputMode) + QStringLiteral(". ") + shortcuts};
}

ScreenshotProtectionStatusItem folderWatchItem(const ScreenshotProtectionStatusInput &input)
{
    using Readiness = ScreenshotProtectionReadiness;
    constexpr auto rail = ScreenshotProtectionRail::folderWatch;
    if (input.folderWatchEnabled && input.folderWatchFolderSelected) {
        if (const auto &halt = input.folderWatchHalt)
            return {rail, halt->readiness, halt->detail};
        return {rail, Readiness::on, QStringLiteral("Scans new screenshots after they are saved in the watched folder.")};
    }
    if (input.folderWatchEnabled)
        return {rail, Readiness::needsSetup,
                QStringLiteral("Choose Desktop, Screenshots, or another folder before watch can run.")};
    if (input.folderWatchFolderSelected)
        return {rail, Readiness::off, QStringLiteral("Folder selected, but watch is paused.")};
    return {rail, Readiness::off, QStringLiteral("No watched folder selected.")};
}

ScreenshotProtectionStatusItem clipboardGuardItem(const ScreenshotProtectionStatusInput &input)
{
    constexpr auto rail = ScreenshotProtectionRail::clipboardGuard;
    if (input.clipboardGuardEnabled) {
        if (const auto &halt = input.clipboardGuardHalt)
            return {rail, halt->readiness, halt->detail};
        return {rail, ScreenshotProtectionReadiness::on,
                QStringLiteral("Scans image clipboard changes locally before risky screenshots are pasted elsewhere.")};
    }
    return {rail, ScreenshotProtectionReadiness::off,
            QStringLiteral("Paste images manually or turn on Clipboard Guard for AI chat, Slack, email, and tickets.")};
}

ScreenshotProtectionStatusItem policyItem(const ScreenshotProtectionStatusInput &input)
{
    constexpr auto rail = ScreenshotProtectionRail::policy;
    constexpr auto on = ScreenshotProtectionReadiness::on;
    if (input.isPolicyManaged)
        return {rail, on, QStringLiteral("Managed by team policy.")};
    const QString name = unicode::trimmed(input.policyDisplayName);
    if (!name.isEmpty())
        return {rail, on, QStringLiteral("Active preset: ") + name + QLatin1Char('.')};
    return {rail, on,
            QStringLiteral("Current defaults. Add presets, terms, regexes, or imported .velmorapolicy files when needed.")};
}

} // namespace ScreenshotProtectionStatusBuilder

} // namespace velmora
