#include "core/policy/learned_safe_rule.h"

#include "support/json_text.h"
#include "support/row_name.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::jsonObject;

namespace {

using Kind = LearnedSafeRule::MatchKind;

LearnedSafeRule rule(Kind kind, const QString &value, std::optional<QString> label = std::nullopt,
                     LearnedSafeRuleScope scope = LearnedSafeRuleScope::global())
{
    return LearnedSafeRule(QStringLiteral("rule-1"), kind, value, std::move(label), std::move(scope));
}

TEST(LearnedSafeRuleTest, InitialiserTrimsTheValueOnly)
{
    const LearnedSafeRule trimmed(QStringLiteral(" id "), Kind::exactText, QStringLiteral("\n Acme Corp \u00A0"),
                                  QStringLiteral(" Email"), LearnedSafeRuleScope::folder(QStringLiteral(" a ")));
    EXPECT_EQ(trimmed.value, QStringLiteral("Acme Corp"));
    EXPECT_EQ(trimmed.id, QStringLiteral(" id "));
    EXPECT_EQ(trimmed.detectorLabel, QStringLiteral(" Email"));
    EXPECT_EQ(trimmed.scope.text(), QStringLiteral(" a "));
}

TEST(LearnedSafeRuleScopeTest, GlobalEncodesAsKindAlone)
{
    EXPECT_EQ(LearnedSafeRuleScope::global().toJson(), (QJsonObject{{"kind", "global"}}));
    EXPECT_EQ(LearnedSafeRuleScope::project(QString()).toJson(), (QJsonObject{{"kind", "project"}, {"value", ""}}));
}

struct ScopeRow {
    const char *name;
    const char *json;
    std::optional<LearnedSafeRuleScope> expected;
};

class LearnedSafeRuleScopeDecodeTest : public ::testing::TestWithParam<ScopeRow> {};

TEST_P(LearnedSafeRuleScopeDecodeTest, Decodes)
{
    EXPECT_EQ(LearnedSafeRuleScope::fromJson(jsonObject(GetParam().json)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Scopes, LearnedSafeRuleScopeDecodeTest, ::testing::Values(
    ScopeRow{"global", R"({"kind": "global"})", LearnedSafeRuleScope::global()},
    ScopeRow{"globalIgnoresValue", R"({"kind": "global", "value": 5})", LearnedSafeRuleScope::global()},
    ScopeRow{"domainWithoutValue", R"({"kind": "domain"})", LearnedSafeRuleScope::domain(QString())},
    ScopeRow{"domainWithNullValue", R"({"kind": "domain", "value": null})", LearnedSafeRuleScope::domain(QString())},
    ScopeRow{"folder", R"({"kind": "folder", "value": " /a "})", LearnedSafeRuleScope::folder(" /a ")},
    ScopeRow{"project", R"({"kind": "project", "value": "p"})", LearnedSafeRuleScope::project("p")},
    ScopeRow{"folderValueIsNumber", R"({"kind": "folder", "value": 1})", std::nullopt},
    ScopeRow{"unknownKind", R"({"kind": "team", "value": "x"})", std::nullopt},
    ScopeRow{"kindInOtherCase", R"({"kind": "Global"})", std::nullopt},
    ScopeRow{"missingKind", R"({"value": "x"})", std::nullopt}),
    test::rowName);

TEST(LearnedSafeRuleTest, EncodingLeavesOutAnAbsentLabel)
{
    const QJsonObject encoded = rule(Kind::pattern, QStringLiteral("a+")).toJson();
    EXPECT_EQ(encoded, (QJsonObject{{"id", "rule-1"}, {"matchKind", "pattern"}, {"value", "a+"},
                                    {"scope", QJsonObject{{"kind", "global"}}}}));
    const QJsonObject labelled = rule(Kind::exactText, QStringLiteral("a"), QString()).toJson();
    EXPECT_EQ(labelled.value("detectorLabel").toString(QStringLiteral("absent")), QString());
}

TEST(LearnedSafeRuleTest, RoundTrips)
{
    const QList<LearnedSafeRule> rules{
        rule(Kind::exactText, QStringLiteral("Acme")),
        rule(Kind::pattern, QStringLiteral("t-[0-9]+"), QStringLiteral("Custom term"),
             LearnedSafeRuleScope::domain(QStringLiteral("example.org"))),
        rule(Kind::exactText, QStringLiteral("x"), QString(), LearnedSafeRuleScope::project(QString())),
    };
    for (const LearnedSafeRule &original : rules) {
        const QByteArray bytes = QJsonDocument(original.toJson()).toJson();
        EXPECT_EQ(LearnedSafeRule::fromJson(QJsonDocument::fromJson(bytes).object()), original);
    }
}

TEST(LearnedSafeRuleTest, DecodingKeepsTheValueAsWritten)
{
    const auto decoded = LearnedSafeRule::fromJson(
        jsonObject(R"({"id": "r", "matchKind": "exactText", "value": " Token ", "scope": {"kind": "global"}})"));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->value, QStringLiteral(" Token "));
    EXPECT_EQ(decoded->detectorLabel, std::nullopt);
}

class LearnedSafeRuleDecodeTest : public ::testing::TestWithParam<test::JsonDecodeRow> {};

TEST_P(LearnedSafeRuleDecodeTest, RequiresEveryKeyButTheLabel)
{
    EXPECT_EQ(LearnedSafeRule::fromJson(jsonObject(GetParam().json)).has_value(), GetParam().decodes);
}

INSTANTIATE_TEST_SUITE_P(Documents, LearnedSafeRuleDecodeTest, ::testing::Values(
    test::JsonDecodeRow{"complete", R"({"id": "r", "matchKind": "pattern", "value": "v", "detectorLabel": "Email",
                                  "scope": {"kind": "global"}})", true},
    test::JsonDecodeRow{"nullLabel", R"({"id": "r", "matchKind": "pattern", "value": "v", "detectorLabel": null,
                                   "scope": {"kind": "global"}})", true},
    test::JsonDecodeRow{"labelIsNumber", R"({"id": "r", "matchKind": "pattern", "value": "v", "detectorLabel": 3,
                                       "scope": {"kind": "global"}})", false},
    test::JsonDecodeRow{"missingId", R"({"matchKind": "pattern", "value": "v", "scope": {"kind": "global"}})", false},
    test::JsonDecodeRow{"missingValue", R"({"id": "r", "matchKind": "pattern", "scope": {"kind": "global"}})", false},
    test::JsonDecodeRow{"missingScope", R"({"id": "r", "matchKind": "pattern", "value": "v"})", false},
    test::JsonDecodeRow{"unknownMatchKind", R"({"id": "r", "matchKind": "regex", "value": "v",
                                          "scope": {"kind": "global"}})", false},
    test::JsonDecodeRow{"scopeIsString", R"({"id": "r", "matchKind": "pattern", "value": "v", "scope": "global"})",
                  false}),
    test::rowName);

} // namespace
