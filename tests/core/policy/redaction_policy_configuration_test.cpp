#include "core/policy/redaction_policy_configuration.h"

#include "support/json_text.h"
#include "support/row_name.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::jsonObject;

namespace {

constexpr auto R = RedactionPolicyDisposition::autoRedact;
constexpr auto C = RedactionPolicyDisposition::needsReview;
constexpr auto O = RedactionPolicyDisposition::ignore;

struct ForPresetRow {
    const char *name;
    QString identifier;
    std::optional<RedactionPolicyPresetID> expectedPreset; ///< Nothing: the empty default.
};

class ForPresetTest : public ::testing::TestWithParam<ForPresetRow> {};

TEST_P(ForPresetTest, BuildsThePresetsDispositionsOrTheEmptyDefault)
{
    const auto configuration = RedactionPolicyConfiguration::forPreset(GetParam().identifier);
    if (!GetParam().expectedPreset) {
        EXPECT_EQ(configuration, RedactionPolicyConfiguration::defaultConfiguration());
        EXPECT_TRUE(configuration.dispositionsByPolicyID.isEmpty());
        return;
    }
    const auto &preset = RedactionPolicyCatalog::preset(*GetParam().expectedPreset);
    EXPECT_EQ(configuration.dispositionsByPolicyID.size(), 5);
    EXPECT_EQ(configuration.packDispositions(), preset.policyDispositions);
}

INSTANTIATE_TEST_SUITE_P(Identifiers, ForPresetTest, ::testing::Values(
    ForPresetRow{"empty", QStringLiteral(""), std::nullopt},
    ForPresetRow{"absent", QString(), std::nullopt},
    ForPresetRow{"presetTitle", QStringLiteral("Safe Sharing"), std::nullopt},
    ForPresetRow{"capitalisedRawValue", QStringLiteral("SafeSharing"), std::nullopt},
    ForPresetRow{"rawValue", QStringLiteral("safeSharing"), RedactionPolicyPresetID::safeSharing},
    ForPresetRow{"alias", QStringLiteral("aiSharing"), RedactionPolicyPresetID::safeSharing},
    ForPresetRow{"aliasOfCustom", QStringLiteral("internalTeammateSharing"), RedactionPolicyPresetID::custom}),
    test::rowName);

TEST(RedactionPolicyConfigurationTest, PresetConfigurationKeysEveryPackByRawValue)
{
    const auto configuration = RedactionPolicyConfiguration::fromPreset(RedactionPolicyPresetID::finance);
    const QMap<QString, RedactionPolicyDisposition> expected{
        {"pii", R}, {"secrets", R}, {"companyConfidential", C}, {"customerAccount", C}, {"custom", C}};
    EXPECT_EQ(configuration.dispositionsByPolicyID, expected);
}

TEST(RedactionPolicyConfigurationTest, DefaultHasNoDispositions)
{
    const auto &configuration = RedactionPolicyConfiguration::defaultConfiguration();
    for (const auto pack : allCases<RedactionPolicyPackID>()) {
        EXPECT_EQ(configuration.disposition(pack), std::nullopt);
        EXPECT_EQ(configuration.disposition(pack, O), O);
        EXPECT_EQ(configuration.disposition(pack, C), C);
    }
    EXPECT_TRUE(configuration.packDispositions().isEmpty());
}

TEST(RedactionPolicyConfigurationTest, LookupsSkipKeysThatNameNoPack)
{
    const RedactionPolicyConfiguration configuration{{{"pii", O}, {"legacyPack", R}}};
    EXPECT_EQ(configuration.packDispositions(), (PackDispositions{{RedactionPolicyPackID::pii, O}}));
    EXPECT_EQ(configuration.disposition(RedactionPolicyPackID::pii), O);
    EXPECT_EQ(configuration.disposition(RedactionPolicyPackID::secrets, C), C);
    // The unknown key is still part of the value.
    EXPECT_NE(configuration, (RedactionPolicyConfiguration{{{"pii", O}}}));
}

TEST(RedactionPolicyConfigurationTest, FromPolicyDispositions)
{
    const auto configuration = RedactionPolicyConfiguration::fromPolicyDispositions(
        {{RedactionPolicyPackID::customerAccount, O}, {RedactionPolicyPackID::custom, R}});
    EXPECT_EQ(configuration.dispositionsByPolicyID,
              (QMap<QString, RedactionPolicyDisposition>{{"customerAccount", O}, {"custom", R}}));
}

TEST(RedactionPolicyConfigurationTest, FinanceEncodesAsOneKeyWithFiveEntries)
{
    const QJsonObject encoded = RedactionPolicyConfiguration::fromPreset(RedactionPolicyPresetID::finance).toJson();
    ASSERT_EQ(encoded.keys(), QStringList{"dispositionsByPolicyID"});
    const QJsonObject map = encoded.value("dispositionsByPolicyID").toObject();
    EXPECT_EQ(map.size(), 5);
    EXPECT_EQ(map.value("pii").toString(), QStringLiteral("autoRedact"));
    EXPECT_EQ(map.value("secrets").toString(), QStringLiteral("autoRedact"));
    EXPECT_EQ(map.value("companyConfidential").toString(), QStringLiteral("needsReview"));
    EXPECT_EQ(map.value("customerAccount").toString(), QStringLiteral("needsReview"));
    EXPECT_EQ(map.value("custom").toString(), QStringLiteral("needsReview"));
}

TEST(RedactionPolicyConfigurationTest, RoundTripsEveryPresetAndUnknownKeys)
{
    for (const auto id : allCases<RedactionPolicyPresetID>()) {
        const auto configuration = RedactionPolicyConfiguration::fromPreset(id);
        const QByteArray bytes = QJsonDocument(configuration.toJson()).toJson();
        EXPECT_EQ(RedactionPolicyConfiguration::fromJson(QJsonDocument::fromJson(bytes).object()), configuration);
    }
    const RedactionPolicyConfiguration withUnknownKey{{{"pii", O}, {"futurePack", C}}};
    EXPECT_EQ(RedactionPolicyConfiguration::fromJson(withUnknownKey.toJson()), withUnknownKey);
    const auto &empty = RedactionPolicyConfiguration::defaultConfiguration();
    EXPECT_EQ(RedactionPolicyConfiguration::fromJson(empty.toJson()), empty);
}

class PolicyConfigurationDecodeTest : public ::testing::TestWithParam<test::JsonDecodeRow> {};

TEST_P(PolicyConfigurationDecodeTest, RequiresTheKeyAndKnownDispositions)
{
    EXPECT_EQ(RedactionPolicyConfiguration::fromJson(jsonObject(GetParam().json)).has_value(), GetParam().decodes);
}

INSTANTIATE_TEST_SUITE_P(Documents, PolicyConfigurationDecodeTest, ::testing::Values(
    test::JsonDecodeRow{"emptyMap", R"({"dispositionsByPolicyID": {}})", true},
    test::JsonDecodeRow{"unknownPackKey", R"({"dispositionsByPolicyID": {"nope": "ignore"}})", true},
    test::JsonDecodeRow{"missingKey", R"({})", false},
    test::JsonDecodeRow{"nullMap", R"({"dispositionsByPolicyID": null})", false},
    test::JsonDecodeRow{"mapIsArray", R"({"dispositionsByPolicyID": ["pii"]})", false},
    test::JsonDecodeRow{"unknownDisposition", R"({"dispositionsByPolicyID": {"pii": "redact"}})", false},
    test::JsonDecodeRow{"dispositionInOtherCase", R"({"dispositionsByPolicyID": {"pii": "AutoRedact"}})", false},
    test::JsonDecodeRow{"dispositionIsNumber", R"({"dispositionsByPolicyID": {"pii": 1}})", false}),
    test::rowName);

TEST(RedactionPolicyConfigurationTest, DecodingRejectsANonObject)
{
    EXPECT_FALSE(RedactionPolicyConfiguration::fromJson(QJsonValue(QStringLiteral("safeSharing"))).has_value());
    EXPECT_FALSE(RedactionPolicyConfiguration::fromJson(QJsonValue()).has_value());
}

} // namespace
