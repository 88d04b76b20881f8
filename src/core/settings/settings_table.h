#pragma once

#include <QLatin1StringView>

#include <variant>
#include <vector>

namespace velmora {

// A stored setting is declared once, here: its key, its type and the value it reads
// as while the key is absent. StoredSettings reads and writes only declared settings,
// so no reader repeats a key or a default.

/// A setting holding text (raw values of enumerations included).
struct TextSetting
{
    QLatin1StringView key;
    QLatin1StringView defaultValue;
};

/// A setting holding a yes/no switch.
struct FlagSetting
{
    QLatin1StringView key;
    bool defaultValue = false;
};

/// A setting holding JSON data; absent, it is empty data, which every decoder of such
/// data reads as its own default.
struct DataSetting
{
    QLatin1StringView key;
};

using SettingDeclaration = std::variant<TextSetting, FlagSetting, DataSetting>;

namespace Setting {

// Detection: one entry a line in the three texts.
inline constexpr TextSetting customTermsText{QLatin1StringView("customDetectionTerms"), {}};
inline constexpr TextSetting customRegexesText{QLatin1StringView("customDetectionRegexes"), {}};
inline constexpr TextSetting allowlistText{QLatin1StringView("customDetectionAllowlist"), {}};
/// Raw value of a policy preset; empty for none.
inline constexpr TextSetting policyPresetID{QLatin1StringView("redactionPolicyPreset"), {}};
/// "local", "imported" or "managed".
inline constexpr TextSetting policySourceID{QLatin1StringView("velmoraPolicySource"), QLatin1StringView("local")};
/// JSON of the policy lock; empty locks nothing.
inline constexpr DataSetting policyLockData{QLatin1StringView("velmoraPolicyLock")};
inline constexpr DataSetting detectorCategoryPreferencesData{QLatin1StringView("velmoraDetectorCategoryPreferences")};

// Clipboard guard.
inline constexpr FlagSetting isClipboardProtectionEnabled{QLatin1StringView("clipboardProtectionEnabled"), false};
/// Raw value of a clipboard replacement mode.
inline constexpr TextSetting clipboardReplacementModeID{QLatin1StringView("clipboardProtectionReplacementMode"),
                                                        QLatin1StringView("pauseIfUnsure")};

// Screenshot folder watch.
inline constexpr FlagSetting isScreenshotWatchEnabled{QLatin1StringView("screenshotWatchEnabled"), false};
/// Stored access to the watched folder: its absolute path.
inline constexpr TextSetting screenshotWatchFolderBookmark{QLatin1StringView("screenshotWatchFolderBookmark"), {}};
/// The watched folder's name and path, for the settings window.
inline constexpr TextSetting screenshotWatchFolderDisplayName{QLatin1StringView("screenshotWatchFolderDisplayName"), {}};
inline constexpr TextSetting screenshotWatchFolderPath{QLatin1StringView("screenshotWatchFolderPath"), {}};

// Capture shortcuts: raw values of the key combination of each capture mode.
inline constexpr TextSetting areaShortcutID{QLatin1StringView("velmoraCaptureShortcutArea"),
                                            QLatin1StringView("optionShift1")};
inline constexpr TextSetting windowShortcutID{QLatin1StringView("velmoraCaptureShortcutWindow"),
                                              QLatin1StringView("optionShift2")};
inline constexpr TextSetting screenShortcutID{QLatin1StringView("velmoraCaptureShortcutScreen"),
                                              QLatin1StringView("optionShift3")};
/// The message of the last hot-key registration.
inline constexpr TextSetting captureShortcutRegistrationStatus{
    QLatin1StringView("velmoraCaptureShortcutRegistrationStatus"), {}};

// Capture output: what AutoClean does with a scanned capture, and where it saves.
/// Raw value of a capture output mode.
inline constexpr TextSetting captureOutputModeID{QLatin1StringView("velmoraCaptureOutputMode"),
                                                 QLatin1StringView("reviewInVelmora")};
/// Raw value of an AutoClean safety mode; absent, the older yes/no setting decides.
inline constexpr TextSetting captureOutputSafetyModeID{QLatin1StringView("velmoraCaptureOutputSafetyMode"), {}};
/// The older form of the safety mode: pause while findings need review.
inline constexpr FlagSetting captureOutputRequiresNoReviewFindings{
    QLatin1StringView("velmoraCaptureOutputRequiresNoReviewFindings"), true};
/// The output folder's absolute path, which stands for the folder.
inline constexpr TextSetting captureOutputFolderBookmark{QLatin1StringView("velmoraCaptureOutputFolderBookmark"), {}};
/// The output folder's name and path, for display.
inline constexpr TextSetting captureOutputFolderDisplayName{QLatin1StringView("velmoraCaptureOutputFolderDisplayName"), {}};
inline constexpr TextSetting captureOutputFolderPath{QLatin1StringView("velmoraCaptureOutputFolderPath"), {}};

// History and one-time flags.
inline constexpr DataSetting safeShareHistoryStore{QLatin1StringView("safeShareHistoryStore")};
inline constexpr FlagSetting didCompleteOnboarding{QLatin1StringView("velmoraDidCompleteOnboardingV1"), false};
inline constexpr FlagSetting didDismissGettingStarted{QLatin1StringView("velmoraDidDismissGettingStartedV1"), false};
inline constexpr FlagSetting suppressInstallReminder{QLatin1StringView("velmoraSuppressInstallReminderV1"), false};

} // namespace Setting

/// Every declared setting, in the order above. A setting added above is added here too.
inline const std::vector<SettingDeclaration> &allSettings()
{
    static const std::vector<SettingDeclaration> table{
        Setting::customTermsText,
        Setting::customRegexesText,
        Setting::allowlistText,
        Setting::policyPresetID,
        Setting::policySourceID,
        Setting::policyLockData,
        Setting::detectorCategoryPreferencesData,
        Setting::isClipboardProtectionEnabled,
        Setting::clipboardReplacementModeID,
        Setting::isScreenshotWatchEnabled,
        Setting::screenshotWatchFolderBookmark,
        Setting::screenshotWatchFolderDisplayName,
        Setting::screenshotWatchFolderPath,
        Setting::areaShortcutID,
        Setting::windowShortcutID,
        Setting::screenShortcutID,
        Setting::captureShortcutRegistrationStatus,
        Setting::captureOutputModeID,
        Setting::captureOutputSafetyModeID,
        Setting::captureOutputRequiresNoReviewFindings,
        Setting::captureOutputFolderBookmark,
        Setting::captureOutputFolderDisplayName,
        Setting::captureOutputFolderPath,
        Setting::safeShareHistoryStore,
        Setting::didCompleteOnboarding,
        Setting::didDismissGettingStarted,
        Setting::suppressInstallReminder,
    };
    return table;
}

/// The key of any declared setting.
inline QLatin1StringView settingKey(const SettingDeclaration &setting)
{
    return std::visit([](const auto &declared) { return declared.key; }, setting);
}

} // namespace velmora
