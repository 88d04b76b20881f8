#include "core/protection/protection_status_input.h"

#include "core/policy/redaction_policy_catalog.h"

#include "support/row_name.h"
#include "support/temp_settings.h"

#include <gtest/gtest.h>

#include <functional>

namespace velmora::test {
namespace {

TEST(ProtectionStatusInput, FreshSettingsGiveTheDefaults)
{
    TempSettings settings;
    ScreenshotProtectionStatusInput expected;
    expected.captureShortcutsEnabled = true; // the three default shortcuts
    EXPECT_EQ(protectionStatusInput(*settings, true), expected);
}

struct InputRow
{
    const char *name;
    std::function<void(StoredSettings &)> store;
    bool captureAllowed;
    std::function<void(ScreenshotProtectionStatusInput &)> expect;
};

class ProtectionStatusInputRows : public ::testing::TestWithParam<InputRow> {};

TEST_P(ProtectionStatusInputRows, ReadsTheStoredSettings)
{
    TempSettings settings;
    GetParam().store(*settings);
    ScreenshotProtectionStatusInput expected;
    expected.captureShortcutsEnabled = true;
    GetParam().expect(expected);
    EXPECT_EQ(protectionStatusInput(*settings, GetParam().captureAllowed), expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, ProtectionStatusInputRows, ::testing::Values(
    InputRow{"refusedPreflightNeedsPermission", [](StoredSettings &) {}, false,
             [](ScreenshotProtectionStatusInput &in) { in.captureNeedsPermission = true; }},
    InputRow{"unknownOutputModeReadsAsReview",
             [](StoredSettings &s) { s.setValue(Setting::captureOutputModeID, QStringLiteral("saveToCloud")); }, true,
             [](ScreenshotProtectionStatusInput &) {}},
    InputRow{"knownOutputMode",
             [](StoredSettings &s) { s.setValue(Setting::captureOutputModeID, QStringLiteral("saveCleanedPNG")); }, true,
             [](ScreenshotProtectionStatusInput &in) { in.captureOutputMode = VelmoraCaptureOutputMode::saveCleanedPNG; }},
    InputRow{"blankFolderPathCountsAsSelected",
             [](StoredSettings &s) {
                 s.setValue(Setting::captureOutputFolderPath, QStringLiteral(" "));
                 s.setValue(Setting::screenshotWatchFolderPath, QStringLiteral("  "));
             }, true,
             [](ScreenshotProtectionStatusInput &in) {
                 in.captureSaveFolderSelected = true;
                 in.folderWatchFolderSelected = true;
             }},
    InputRow{"allShortcutsDisabled",
             [](StoredSettings &s) {
                 s.setValue(Setting::areaShortcutID, QStringLiteral("disabled"));
                 s.setValue(Setting::windowShortcutID, QStringLiteral("disabled"));
                 s.setValue(Setting::screenShortcutID, QStringLiteral("disabled"));
             }, true,
             [](ScreenshotProtectionStatusInput &in) { in.captureShortcutsEnabled = false; }},
    InputRow{"oneShortcutLeft",
             [](StoredSettings &s) {
                 s.setValue(Setting::areaShortcutID, QStringLiteral("disabled"));
                 s.setValue(Setting::windowShortcutID, QStringLiteral("disabled"));
             }, true,
             [](ScreenshotProtectionStatusInput &) {}},
    InputRow{"watchAndClipboardFlags",
             [](StoredSettings &s) {
                 s.setValue(Setting::isScreenshotWatchEnabled, true);
                 s.setValue(Setting::isClipboardProtectionEnabled, true);
             }, true,
             [](ScreenshotProtectionStatusInput &in) {
                 in.folderWatchEnabled = true;
                 in.clipboardGuardEnabled = true;
             }},
    InputRow{"presetGivesItsTitle",
             [](StoredSettings &s) { s.setValue(Setting::policyPresetID, QStringLiteral("developerDevOps")); }, true,
             [](ScreenshotProtectionStatusInput &in) {
                 in.policyDisplayName =
                     RedactionPolicyCatalog::preset(RedactionPolicyPresetID::developerDevOps).title;
             }},
    InputRow{"unknownPresetGivesNoName",
             [](StoredSettings &s) { s.setValue(Setting::policyPresetID, QStringLiteral("noSuchPreset")); }, true,
             [](ScreenshotProtectionStatusInput &) {}},
    InputRow{"managedSourceIsManaged",
             [](StoredSettings &s) { s.setValue(Setting::policySourceID, QStringLiteral("managed")); }, true,
             [](ScreenshotProtectionStatusInput &in) { in.isPolicyManaged = true; }},
    InputRow{"otherCaseIsNotManaged",
             [](StoredSettings &s) { s.setValue(Setting::policySourceID, QStringLiteral("Managed")); }, true,
             [](ScreenshotProtectionStatusInput &) {}}), rowName);

} // namespace
} // namespace velmora::test
