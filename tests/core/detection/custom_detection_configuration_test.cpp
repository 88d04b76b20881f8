#include "core/detection/custom_detection_configuration.h"

#include "support/json_text.h"
#include "support/row_name.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::jsonObject;

namespace {

using Kind = LearnedSafeRule::MatchKind;
using Scope = LearnedSafeRuleScope;

CustomDetectionConfiguration withLists(const QStringList &terms, const QStringList &regexes = {},
                                       const QStringList &allowlist = {}, const QList<LearnedSafeRule> &rules = {})
{
    return CustomDetectionConfiguration(terms, regexes, allowlist, RedactionPolicyConfiguration::defaultConfiguration(),
                                        DetectorCategoryPreferences::defaultPreferences(), rules);
}

/// A rule as decoding makes it: the value exactly as written.
LearnedSafeRule decodedRule(const QString &id, const QString &value, std::optional<QString> label = std::nullopt,
                            Scope scope = Scope::global(), Kind kind = Kind::exactText)
{
    LearnedSafeRule rule(id, kind, QString(), std::move(label), std::move(scope));
    rule.value = value;
    return rule;
}

struct ListRow {
    const char *name;
    QStringList input;
    QStringList terms;     ///< Expected terms (and allowlist: the same rules).
    QStringList regexes;   ///< Expected regexes.
};

class ListNormalizationTest : public ::testing::TestWithParam<ListRow> {};

TEST_P(ListNormalizationTest, TrimsDropsEmptiesAndKeepsFirstOccurrences)
{
    const auto configuration = withLists(GetParam().input, GetParam().input, GetParam().input);
    EXPECT_EQ(configuration.terms, GetParam().terms);
    EXPECT_EQ(configuration.allowlist, GetParam().terms);
    EXPECT_EQ(configuration.regexes, GetParam().regexes);
}

INSTANTIATE_TEST_SUITE_P(Lists, ListNormalizationTest, ::testing::Values(
    ListRow{"termsExample", {" API ", "api", "", "   ", "Api key"}, {"API", "Api key"}, {"API", "api", "Api key"}},
    ListRow{"regexesExample", {"abc", "ABC", " abc "}, {"abc"}, {"abc", "ABC"}},
    ListRow{"unicodeSpaceAndNewlines", {"\u00A0token\n", "\r\nTOKEN\t"}, {"token"}, {"token", "TOKEN"}},
    ListRow{"fullLowerCasingKey", {"\u0130D", "i\u0307d"}, {"\u0130D"}, {"\u0130D", "i\u0307d"}},
    ListRow{"zeroWidthSpaceIsNotBlank", {"\u200B"}, {"\u200B"}, {"\u200B"}},
    ListRow{"empty", {}, {}, {}}),
    test::rowName);

TEST(CustomDetectionConfigurationTest, DefaultIsEmptyWithDefaultPolicyAndPreferences)
{
    const auto &configuration = CustomDetectionConfiguration::defaultConfiguration();
    EXPECT_TRUE(configuration.terms.isEmpty());
    EXPECT_TRUE(configuration.regexes.isEmpty());
    EXPECT_TRUE(configuration.allowlist.isEmpty());
    EXPECT_TRUE(configuration.learnedSafeRules.isEmpty());
    EXPECT_EQ(configuration.policyConfiguration, RedactionPolicyConfiguration::defaultConfiguration());
    EXPECT_EQ(configuration.detectorCategoryPreferences, DetectorCategoryPreferences::defaultPreferences());
    EXPECT_EQ(withLists({"", "  "}), configuration);
}

struct RuleRow {
    const char *name;
    QList<LearnedSafeRule> input;
    QStringList keptIDs;
};

class LearnedRuleNormalizationTest : public ::testing::TestWithParam<RuleRow> {};

TEST_P(LearnedRuleNormalizationTest, KeepsTheFirstOfEachDuplicateUnchanged)
{
    const auto configuration = withLists({}, {}, {}, GetParam().input);
    QStringList kept;
    for (const LearnedSafeRule &rule : configuration.learnedSafeRules)
        kept.append(rule.id);
    EXPECT_EQ(kept, GetParam().keptIDs);
    for (const LearnedSafeRule &rule : configuration.learnedSafeRules)
        EXPECT_TRUE(GetParam().input.contains(rule)) << rule.id.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rules, LearnedRuleNormalizationTest, ::testing::Values(
    RuleRow{"valueIgnoresSpaceAndCase", {decodedRule("1", "Token"), decodedRule("2", " token ")}, {"1"}},
    RuleRow{"folderTextIsExact",
            {decodedRule("1", "Token", {}, Scope::folder("a")), decodedRule("2", " token ", {}, Scope::folder("A"))},
            {"1", "2"}},
    RuleRow{"sameFolderText",
            {decodedRule("1", "x", {}, Scope::folder("a")), decodedRule("2", "X", {}, Scope::folder("a"))}, {"1"}},
    RuleRow{"scopeKindCounts",
            {decodedRule("1", "x", {}, Scope::folder("a")), decodedRule("2", "x", {}, Scope::project("a"))},
            {"1", "2"}},
    RuleRow{"globalDiffersFromEmptyFolder",
            {decodedRule("1", "x"), decodedRule("2", "x", {}, Scope::folder(""))}, {"1", "2"}},
    RuleRow{"absentAndEmptyLabelAreEqual", {decodedRule("1", "x"), decodedRule("2", "x", QString())}, {"1"}},
    RuleRow{"labelIsCaseSensitive",
            {decodedRule("1", "x", QStringLiteral("Email")), decodedRule("2", "x", QStringLiteral("email"))},
            {"1", "2"}},
    RuleRow{"matchKindCounts",
            {decodedRule("1", "x"), decodedRule("2", "x", {}, Scope::global(), Kind::pattern)}, {"1", "2"}},
    RuleRow{"idTakesNoPart", {decodedRule("same", "x"), decodedRule("same", "y"), decodedRule("other", "x")},
            {"same", "same"}},
    RuleRow{"emptyValueDropped", {decodedRule("1", ""), decodedRule("2", "x")}, {"2"}},
    RuleRow{"blankValueStays", {decodedRule("1", "  "), decodedRule("2", "\n")}, {"1"}}),
    test::rowName);

TEST(CustomDetectionConfigurationTest, InvalidRegexesInListOrder)
{
    const auto configuration = withLists({}, {"(", "a+", "["});
    EXPECT_EQ(configuration.invalidRegexes(), (QStringList{"(", "["}));
    EXPECT_EQ(configuration.regexes, (QStringList{"(", "a+", "["})); // reported, never removed
}

TEST(CustomDetectionConfigurationTest, EqualityIsOrderSensitive)
{
    EXPECT_NE(withLists({"a", "b"}), withLists({"b", "a"}));
    EXPECT_EQ(withLists({"a", "b"}), withLists({" a", "b", "A"}));
    auto other = withLists({"a"});
    other.policyConfiguration = RedactionPolicyConfiguration::fromPreset(RedactionPolicyPresetID::custom);
    EXPECT_NE(other, withLists({"a"}));
}

TEST(CustomDetectionConfigurationTest, EncodesAllSixKeysAlsoWhenEmpty)
{
    const QJsonObject encoded = CustomDetectionConfiguration::defaultConfiguration().toJson();
    EXPECT_EQ(encoded.keys(), (QStringList{"allowlist", "detectorCategoryPreferences", "learnedSafeRules",
                                           "policyConfiguration", "regexes", "terms"}));
    EXPECT_TRUE(encoded.value("terms").isArray());
    EXPECT_TRUE(encoded.value("learnedSafeRules").toArray().isEmpty());
    EXPECT_EQ(encoded.value("policyConfiguration").toObject(),
              (QJsonObject{{"dispositionsByPolicyID", QJsonObject()}}));
}

TEST(CustomDetectionConfigurationTest, RoundTripsAFullConfigurationThroughBytes)
{
    auto preferences = DetectorCategoryPreferences::defaultPreferences();
    preferences.setEnabled(false, DetectorCategory::faces);
    preferences.setDetectorDisposition(RedactionPolicyDisposition::autoRedact, QStringLiteral("IP address"));
    const CustomDetectionConfiguration original(
        {"Project Falcon", "acme-internal"}, {"ORD-[0-9]{6}", "("}, {"support@example.org"},
        RedactionPolicyConfiguration::fromPreset(RedactionPolicyPresetID::developerDevOps), preferences,
        {LearnedSafeRule(QStringLiteral("r1"), Kind::exactText, QStringLiteral("build-01"), QStringLiteral("Custom term"),
                         Scope::domain(QStringLiteral("example.org"))),
         LearnedSafeRule(QStringLiteral("r2"), Kind::pattern, QStringLiteral("test-[a-z]+"), std::nullopt, Scope::global())});
    const QByteArray bytes = QJsonDocument(original.toJson()).toJson(QJsonDocument::Compact);
    const auto decoded = CustomDetectionConfiguration::fromJson(QJsonDocument::fromJson(bytes).object());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, original);
}

TEST(CustomDetectionConfigurationTest, EmptyObjectDecodesToTheDefault)
{
    EXPECT_EQ(CustomDetectionConfiguration::fromJson(jsonObject("{}")), CustomDetectionConfiguration::defaultConfiguration());
}

TEST(CustomDetectionConfigurationTest, DecodingNormalisesAndDefaultsTheOtherKeys)
{
    const auto decoded = CustomDetectionConfiguration::fromJson(jsonObject(R"({"terms": ["a", "A"]})"));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->terms, QStringList{"a"});
    auto expected = CustomDetectionConfiguration::defaultConfiguration();
    expected.terms = {"a"};
    EXPECT_EQ(*decoded, expected);

    const auto rules = CustomDetectionConfiguration::fromJson(jsonObject(R"({"learnedSafeRules": [
        {"id": "1", "matchKind": "exactText", "value": "Token", "scope": {"kind": "global"}},
        {"id": "2", "matchKind": "exactText", "value": " token ", "scope": {"kind": "global"}},
        {"id": "3", "matchKind": "exactText", "value": "", "scope": {"kind": "global"}}]})"));
    ASSERT_TRUE(rules);
    ASSERT_EQ(rules->learnedSafeRules.size(), 1);
    EXPECT_EQ(rules->learnedSafeRules.front().value, QStringLiteral("Token"));
}

class CustomConfigurationDecodeTest : public ::testing::TestWithParam<test::JsonDecodeRow> {};

TEST_P(CustomConfigurationDecodeTest, FailsWholeOnAnyWrongForm)
{
    EXPECT_EQ(CustomDetectionConfiguration::fromJson(jsonObject(GetParam().json)).has_value(), GetParam().decodes);
}

INSTANTIATE_TEST_SUITE_P(Documents, CustomConfigurationDecodeTest, ::testing::Values(
    test::JsonDecodeRow{"nullKeysAreMissing", R"({"terms": null, "regexes": null, "allowlist": null,
        "policyConfiguration": null, "detectorCategoryPreferences": null, "learnedSafeRules": null})", true},
    test::JsonDecodeRow{"unknownKeyIgnored", R"({"version": 2})", true},
    test::JsonDecodeRow{"termsIsNumber", R"({"terms": 3})", false},
    test::JsonDecodeRow{"termsIsString", R"({"terms": "a"})", false},
    test::JsonDecodeRow{"regexHoldsNumber", R"({"terms": ["a"], "regexes": ["b", 1]})", false},
    test::JsonDecodeRow{"allowlistIsObject", R"({"allowlist": {}})", false},
    test::JsonDecodeRow{"policyWithoutItsKey", R"({"policyConfiguration": {}})", false},
    test::JsonDecodeRow{"policyUnknownDisposition", R"({"policyConfiguration": {"dispositionsByPolicyID": {"pii": "hide"}}})",
              false},
    test::JsonDecodeRow{"preferencesUnknownCategory", R"({"detectorCategoryPreferences": {"disabledCategories": ["x"]}})",
              false},
    test::JsonDecodeRow{"preferencesIsArray", R"({"detectorCategoryPreferences": []})", false},
    test::JsonDecodeRow{"rulesIsObject", R"({"learnedSafeRules": {}})", false},
    test::JsonDecodeRow{"ruleUnknownMatchKind", R"({"learnedSafeRules": [{"id": "1", "matchKind": "fuzzy", "value": "v",
        "scope": {"kind": "global"}}]})", false},
    test::JsonDecodeRow{"ruleUnknownScope", R"({"learnedSafeRules": [{"id": "1", "matchKind": "pattern", "value": "v",
        "scope": {"kind": "planet"}}]})", false}),
    test::rowName);

TEST(CustomDetectionConfigurationTest, DecodingRejectsANonObject)
{
    EXPECT_FALSE(CustomDetectionConfiguration::fromJson(QJsonValue(QJsonArray())).has_value());
    EXPECT_FALSE(CustomDetectionConfiguration::fromJson(QJsonValue()).has_value());
}

} // namespace
