#include "core/protection/clipboard_protection_configuration.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

#include <string>

using namespace velmora;
using Replacement = ClipboardProtectionReplacementMode;
using Safety = VelmoraAutoCleanSafetyMode;

struct ReplacementModeRow {
    const char *name;
    Replacement mode;
    Safety safety;
    const char *title;
    const char *description;
    Replacement selectable;
};

class ReplacementModeTest : public ::testing::TestWithParam<ReplacementModeRow> {};

TEST_P(ReplacementModeTest, ShowsItsSafetyMode)
{
    const ReplacementModeRow &row = GetParam();
    EXPECT_EQ(safetyMode(row.mode), row.safety);
    EXPECT_EQ(title(row.mode), QString::fromUtf8(row.title));
    EXPECT_EQ(description(row.mode), QString::fromUtf8(row.description));
    EXPECT_EQ(selectableEquivalent(row.mode), row.selectable);
    EXPECT_EQ(fromRawValue<Replacement>(QString::fromLatin1(row.name)), row.mode);
}

const char *const reviewFirstDescription = "Open every protected screenshot in Velmora before output.";
const char *const pauseDescription =
    "Auto-output confident redactions, but open review when any finding needs Check.";
const char *const everythingDescription = "Auto-output all selected findings, including ones marked Check.";

INSTANTIATE_TEST_SUITE_P(Rows, ReplacementModeTest, ::testing::Values(
    ReplacementModeRow{"reviewFirst", Replacement::reviewFirst, Safety::reviewFirst, "Review first",
                       reviewFirstDescription, Replacement::reviewFirst},
    ReplacementModeRow{"pauseIfUnsure", Replacement::pauseIfUnsure, Safety::pauseIfUnsure,
                       "AutoClean, pause if unsure", pauseDescription, Replacement::pauseIfUnsure},
    ReplacementModeRow{"autoCleanEverything", Replacement::autoCleanEverything, Safety::autoCleanEverything,
                       "AutoClean everything", everythingDescription, Replacement::autoCleanEverything},
    ReplacementModeRow{"askBeforeReplace", Replacement::askBeforeReplace, Safety::reviewFirst, "Review first",
                       reviewFirstDescription, Replacement::reviewFirst},
    ReplacementModeRow{"autoReplace", Replacement::autoReplace, Safety::pauseIfUnsure,
                       "AutoClean, pause if unsure", pauseDescription, Replacement::pauseIfUnsure}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ReplacementModeTest, PickerOffersOnlyTheCurrentModes)
{
    const auto all = allCases<Replacement>();
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[3], Replacement::askBeforeReplace);
    const auto selectable = selectableReplacementModes();
    EXPECT_EQ(selectable[0], Replacement::reviewFirst);
    EXPECT_EQ(selectable[1], Replacement::pauseIfUnsure);
    EXPECT_EQ(selectable[2], Replacement::autoCleanEverything);
}

struct StoredModeRow {
    const char *name;
    const char *stored;
    Replacement expected;
};

class StoredReplacementModeTest : public ::testing::TestWithParam<StoredModeRow> {};

TEST_P(StoredReplacementModeTest, MatchesExactlyAndFallsBackToPause)
{
    EXPECT_EQ(storedReplacementMode(QString::fromLatin1(GetParam().stored)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, StoredReplacementModeTest, ::testing::Values(
    StoredModeRow{"reviewFirst", "reviewFirst", Replacement::reviewFirst},
    StoredModeRow{"everything", "autoCleanEverything", Replacement::autoCleanEverything},
    StoredModeRow{"legacyAsk", "askBeforeReplace", Replacement::reviewFirst},
    StoredModeRow{"legacyAutoReplace", "autoReplace", Replacement::pauseIfUnsure},
    StoredModeRow{"absent", "", Replacement::pauseIfUnsure},
    StoredModeRow{"wrongCase", "ReviewFirst", Replacement::pauseIfUnsure},
    StoredModeRow{"title", "Review first", Replacement::pauseIfUnsure}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ClipboardProtectionConfigurationTest, InitialiserStoresTheCurrentEquivalent)
{
    const ClipboardProtectionConfiguration fromLegacy(true, Replacement::autoReplace);
    EXPECT_TRUE(fromLegacy.isEnabled);
    EXPECT_EQ(fromLegacy.replacementMode, Replacement::pauseIfUnsure);
    EXPECT_EQ(ClipboardProtectionConfiguration(false, Replacement::askBeforeReplace).replacementMode,
              Replacement::reviewFirst);
    EXPECT_EQ(ClipboardProtectionConfiguration(true, Replacement::autoCleanEverything).replacementMode,
              Replacement::autoCleanEverything);
}

std::optional<ClipboardProtectionConfiguration> decode(const char *json)
{
    return ClipboardProtectionConfiguration::fromJson(QJsonDocument::fromJson(json).object());
}

TEST(ClipboardProtectionConfigurationTest, DecodingKeepsALegacyMode)
{
    const auto decoded = decode(R"({"isEnabled": true, "replacementMode": "askBeforeReplace"})");
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(decoded->isEnabled);
    EXPECT_EQ(decoded->replacementMode, Replacement::askBeforeReplace);
}

TEST(ClipboardProtectionConfigurationTest, EncodingRoundTrips)
{
    const ClipboardProtectionConfiguration configuration(true, Replacement::autoCleanEverything);
    const QJsonObject json = configuration.toJson();
    EXPECT_EQ(json.value(QStringLiteral("isEnabled")).toBool(), true);
    EXPECT_EQ(json.value(QStringLiteral("replacementMode")).toString(), QStringLiteral("autoCleanEverything"));
    EXPECT_EQ(ClipboardProtectionConfiguration::fromJson(json), configuration);
}

struct BadJsonRow {
    const char *name;
    const char *json;
};

class ClipboardProtectionConfigurationDecodingTest : public ::testing::TestWithParam<BadJsonRow> {};

TEST_P(ClipboardProtectionConfigurationDecodingTest, Fails)
{
    EXPECT_FALSE(decode(GetParam().json));
}

INSTANTIATE_TEST_SUITE_P(Rows, ClipboardProtectionConfigurationDecodingTest, ::testing::Values(
    BadJsonRow{"missingEnabled", R"({"replacementMode": "reviewFirst"})"},
    BadJsonRow{"missingMode", R"({"isEnabled": true})"},
    BadJsonRow{"enabledAsText", R"({"isEnabled": "true", "replacementMode": "reviewFirst"})"},
    BadJsonRow{"modeAsNumber", R"({"isEnabled": true, "replacementMode": 1})"},
    BadJsonRow{"unknownMode", R"({"isEnabled": true, "replacementMode": "replaceSilently"})"}),
    [](const auto &info) { return std::string(info.param.name); });
