#include "core/protection/protection_status_input.h"

#include "core/policy/redaction_policy_catalog.h"
#include "core/protection/autoclean_output_settings.h"
#include "core/protection/capture_shortcut_settings.h"
#include "core/settings/stored_settings.h"

namespace velmora {

ScreenshotProtectionStatusInput protectionStatusInput(const StoredSettings &settings, bool captureAllowed)
{
    ScreenshotProtectionStatusInput input;
    input.captureOutputMode = AutoCleanOutputCoordinator::outputMode(settings.value(Setting::captureOutputModeID))
                                  .value_or(VelmoraCaptureOutputMode::reviewInVelmora);
    input.captureSaveFolderSelected = !settings.value(Setting::captureOutputFolderPath).isEmpty();
    input.captureShortcutsEnabled = !VelmoraCaptureShortcutSettings::current(settings).enabledAssignments().isEmpty();
    input.captureNeedsPermission = !captureAllowed;
    input.folderWatchEnabled = settings.value(Setting::isScreenshotWatchEnabled);
    input.folderWatchFolderSelected = !settings.value(Setting::screenshotWatchFolderPath).isEmpty();
    input.clipboardGuardEnabled = settings.value(Setting::isClipboardProtectionEnabled);
    if (const auto preset = presetIDFromIdentifier(settings.value(Setting::policyPresetID)))
        input.policyDisplayName = RedactionPolicyCatalog::preset(*preset).title;
    input.isPolicyManaged = settings.value(Setting::policySourceID) == QLatin1StringView("managed");
    return input;
}

} // namespace velmora
