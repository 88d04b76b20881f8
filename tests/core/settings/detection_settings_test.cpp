#include "core/settings/detection_settings.h"

#include "support/row_name.h"
#include "support/temp_settings.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct LinesRow
{
    const char *name;
    QString text;
    QStringList lines;
};

class SettingsTextLines : public ::testing::TestWithParam<LinesRow>
{
};

TEST_P(SettingsTextLines, SplitTrimAndDropEmptyLines)
{
    EXPECT_EQ(settingsTextLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Rows, SettingsTextLines, ::testing::Values(
    LinesRow{"Empty", "", {}},
    LinesRow{"OnlyBlanks", "  \n\t\n", {}},
    LinesRow{"TrimsEachLine", "  alpha \n beta", {"alpha", "beta"}},
    LinesRow{"WindowsLineEnds", "alpha\r\nbeta\r\n", {"alpha", "beta"}},
    LinesRow{"UnicodeSeparators", QString::fromUtf8("alpha\u2028beta\u0085gamma"), {"alpha", "beta", "gamma"}},
    LinesRow{"KeepsInnerBlanksAndDuplicates", "Api key\nApi key", {"Api key", "Api key"}},
    LinesRow{"NoBreakSpaceIsTrimmed", QString::fromUtf8("\u00A0token\u00A0"), {"token"}}),
    test::rowName);

struct PreferencesRow
{
    const char *name;
    QByteArray data;
    bool facesDisabled;
};

class DecodeDetectorCategoryPreferences : public ::testing::TestWithParam<PreferencesRow>
{
};

TEST_P(DecodeDetectorCategoryPreferences, FallsBackToTheDefaults)
{
    const DetectorCategoryPreferences preferences = decodeDetectorCategoryPreferences(GetParam().data);
    EXPECT_EQ(!preferences.isEnabled(DetectorCategory::faces), GetParam().facesDisabled);
    if (!GetParam().facesDisabled) {
        EXPECT_EQ(preferences, DetectorCategoryPreferences::defaultPreferences());
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, DecodeDetectorCategoryPreferences, ::testing::Values(
    PreferencesRow{"Empty", "", false},
    PreferencesRow{"NotJson", "faces", false},
    PreferencesRow{"JsonArray", "[]", false},
    PreferencesRow{"UnknownCategory", R"({"disabledCategories":["planets"]})", false},
    PreferencesRow{"WrongType", R"({"disabledCategories":"faces"})", false},
    PreferencesRow{"Valid", R"({"disabledCategories":["faces"]})", true}),
    test::rowName);

TEST(DetectionSettingsValues, LoadReadsTheFiveStoredSettings)
{
    test::TempSettings settings;
    EXPECT_EQ(DetectionSettingsValues::load(*settings), DetectionSettingsValues{});
    settings->setValue(Setting::customTermsText, QStringLiteral("Project Falcon"));
    settings->setValue(Setting::customRegexesText, QStringLiteral("ACME-\\d+"));
    settings->setValue(Setting::allowlistText, QStringLiteral("demo@example.com"));
    settings->setValue(Setting::policyPresetID, QStringLiteral("finance"));
    settings->setValue(Setting::detectorCategoryPreferencesData, QByteArray("{}"));
    const DetectionSettingsValues expected{"Project Falcon", "ACME-\\d+", "demo@example.com", "finance", "{}"};
    EXPECT_EQ(DetectionSettingsValues::load(*settings), expected);
}

} // namespace
} // namespace velmora

namespace velmora {
namespace {

TEST(DetectionSettingsValues, BuildTheCustomConfiguration)
{
    DetectionSettingsValues values;
    values.customTermsText = QStringLiteral(" Falcon \nfalcon\n\nOrion");
    values.customRegexesText = QStringLiteral("ACME-\\d+");
    values.allowlistText = QStringLiteral("demo@example.com\r\n");
    values.policyPresetID = QStringLiteral("finance");
    values.detectorCategoryPreferencesData = QByteArray(R"({"disabledCategories":["faces"]})");
    const CustomDetectionConfiguration configuration = values.customDetectionConfiguration();
    EXPECT_EQ(configuration.terms, (QStringList{"Falcon", "Orion"}));
    EXPECT_EQ(configuration.regexes, (QStringList{"ACME-\\d+"}));
    EXPECT_EQ(configuration.allowlist, (QStringList{"demo@example.com"}));
    EXPECT_EQ(configuration.policyConfiguration, RedactionPolicyConfiguration::fromPreset(RedactionPolicyPresetID::finance));
    EXPECT_FALSE(configuration.detectorCategoryPreferences.isEnabled(DetectorCategory::faces));
    EXPECT_TRUE(configuration.learnedSafeRules.isEmpty());
}

TEST(DetectionSettingsValues, EmptySettingsGiveTheDefaultConfiguration)
{
    EXPECT_EQ(DetectionSettingsValues{}.customDetectionConfiguration(), CustomDetectionConfiguration::defaultConfiguration());
}

} // namespace
} // namespace velmora
