#include "core/analysis/rules/sensitive_text_rule_catalog.h"

#include <QtConcurrent/QtConcurrentRun>
#include <QFuture>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::sensitive_text;

namespace {

using Action = DetectionSuggestedAction;
using Category = DetectorCategory;
using Kind = DetectionKind;
using Pack = RedactionPolicyPackID;

struct RuleRow {
    const char *name;
    Kind kind;
    const char *label;
    Pack pack;
    Category category;
    double confidence;
    bool caseInsensitive;
    int matchGroup;
    Validator validator;
    Action action;
    bool findsEveryValue;
    const char *reason;
    const char16_t *pattern;
};

// Indexed by position: the rows are the catalogue in its running order.
const RuleRow kRows[] = {
    {"awsKey", Kind::apiKey, "AWS key", Pack::secrets, Category::secrets, 0.98, false, 0, isPlausibleAccessKeyId, Action::redact, false,
     "AWS access key IDs should not be shared in screenshots.",
     uR"((?<![A-Z0-9])(?:A3T[A-Z0-9]|AKIA|ASIA)(?:[A-Z0-9@&] ?){15}[A-Z0-9](?![A-Za-z0-9]))"},
    {"githubToken", Kind::apiKey, "GitHub token", Pack::secrets, Category::secrets, 0.98, false, 0, nullptr, Action::redact, false,
     "GitHub access tokens can grant repository or account access.",
     uR"(\b(ghp|gho|ghu|ghs|ghr)_[A-Za-z0-9_]{20,}\b)"},
    {"stripeKey", Kind::apiKey, "Stripe secret key", Pack::secrets, Category::secrets, 0.98, false, 0, nullptr, Action::redact, false,
     "Stripe secret keys can expose payment account access.",
     uR"(\b[sr]k_(?:[lI1]ive|test)_[A-Za-z0-9]{16,}(?![A-Za-z0-9]))"},
    {"bearerToken", Kind::secret, "Bearer token", Pack::secrets, Category::secrets, 0.94, false, 0, nullptr, Action::redact, false,
     "Bearer tokens can authenticate API requests.",
     uR"(\bBearer\s+[A-Za-z0-9._~+/\-]+=*\b)"},
    {"jwt", Kind::secret, "JWT", Pack::secrets, Category::secrets, 0.92, false, 0, nullptr, Action::redact, false,
     "JWTs can contain claims or credentials.",
     uR"(\beyJ[A-Za-z0-9_-]*(?:[@&][A-Za-z0-9_-]+)*\.[A-Za-z0-9_-]+(?:[@&][A-Za-z0-9_-]+)*\.[A-Za-z0-9_-]+(?:[@&][A-Za-z0-9_-]+)*(?![A-Za-z0-9_-]))"},
    {"sshPublicKey", Kind::secret, "SSH public key", Pack::secrets, Category::secrets, 0.90, true, 0, nullptr, Action::review, false,
     "SSH authorized keys reveal account access configuration and should be reviewed before sharing.",
     uR"(\bssh[-~\u2013\u2014 ](?:rsa|ed25519|ecdsa-sha2-nistp(?:256|384|521))\s+(?:[A-Za-z0-9+/=]\s*){40,}[^\s,;\]}]*(?:[^\S\r\n]+[^\s,;\]}]+)?)"},
    {"environmentSecret", Kind::secret, "Environment secret", Pack::secrets, Category::secrets, 0.93, true, 1, isNotPlaceholder, Action::redact, false,
     "Environment variable secrets can expose credentials or tokens.",
     uR"((?:^|[\s;(])[A-Z_][A-Z0-9_-]*(?:PASSWORD|PASSWD|SECRET|TOKEN|API[_-]?KEY|ACCESS[_-]?KEY|PRIVATE[_-]?KEY|CLIENT[_-]?SECRET|AUTH)[A-Z0-9_-]*\s*[:=]\s*['"]?(?!(?:Bearer|Basic)\s)((?:[^\s'"]|(?<=[A-Za-z0-9])'(?=[A-Za-z0-9])){6,})['"]?)"},
    {"urlQueryToken", Kind::url, "URL query token", Pack::secrets, Category::secrets, 0.93, true, 1, isNotPlaceholder, Action::redact, true,
     "Private URL parameters can grant access or reveal account data.",
     uR"((?:\bhttps?:?//[^\s<>"'?]+\?(?:[^\s<>"'&]+&)*|(?<=[?&]))(?:access[_-]?token|auth[_-]?token|api[_-]?key|apikey|client[_-]?secret|code|key|password|secret|session|sig|signature|token)=([^&\s<>"']{6,})[^\s<>"']*)"},
    {"googleApiKey", Kind::apiKey, "Google API key", Pack::secrets, Category::secrets, 0.97, false, 0, nullptr, Action::redact, false,
     "Google API keys can expose project or service access.",
     uR"(\bAIza[A-Za-z0-9_-]{34,36}(?![A-Za-z0-9]))"},
    {"openAiApiKey", Kind::apiKey, "OpenAI API key", Pack::secrets, Category::secrets, 0.97, false, 0, nullptr, Action::redact, false,
     "OpenAI API keys can expose account access and usage.",
     uR"(\bsk-(?:proj[-~\u2013\u2014])?[A-Za-z0-9_-]{20,}(?![A-Za-z0-9_-]))"},
    {"slackToken", Kind::apiKey, "Slack token", Pack::secrets, Category::secrets, 0.97, false, 0, nullptr, Action::redact, false,
     "Slack tokens can expose workspace or app access.",
     uR"(\bxox[baprs]-(?:(?:[A-Za-z0-9] ?){10,13}- ?(?:[A-Za-z0-9] ?){10,13}- ?(?:(?:[A-Za-z0-9] ?){23}[A-Za-z0-9]{2}|(?:[A-Za-z0-9] ?){22,23}[A-Za-z0-9])|[A-Za-z0-9-]{20,})(?![A-Za-z0-9-]))"},
    {"email", Kind::email, "Email", Pack::pii, Category::emails, 0.90, true, 0, nullptr, Action::redact, false,
     "Email addresses can identify a person or account.",
     uR"(\b[A-Z0-9._%+-]+(?:@(?=[A-Z0-9._%+-]+@)[A-Z0-9._%+-]+)?@[A-Z0-9.-]+\.[A-Z]{2,}(?![A-Z0-9]))"},
    {"ipAddress", Kind::ipAddress, "IP address", Pack::customerAccount, Category::ipAddresses, 0.86, false, 0, nullptr, Action::review, false,
     "IP addresses can reveal infrastructure or location context.",
     uR"(\b(?:(?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\.){3}(?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\b)"},
    {"phoneNumber", Kind::phoneNumber, "Phone number", Pack::pii, Category::phones, 0.84, true, 0, isPlausiblePhoneNumber, Action::redact, false,
     "Phone numbers can identify or contact a person.",
     uR"((?<![\w])(?:\+?1[\s.-]?)?(?:\([2-9]\d{2}\)|[2-9]\d{2})[\s.-]?[2-9]\d{2}[\s.-]?\d{4}(?:\s*(?:x|ext\.?)\s*\d{1,6})?(?![\w]))"},
    {"cardNumber", Kind::creditCard, "Card number", Pack::pii, Category::cards, 0.95, false, 0, isPlausibleCardNumber, Action::redact, false,
     "Card numbers should be redacted before sharing.",
     uR"(\b(?:\d{13,19}|\d{4}[ -]\d{4}[ -]\d{4}(?:[ -]\d{1,7})?|\d{4}[ -]\d{6}[ -]\d{5})\b)"},
    {"accountId", Kind::unknown, "Account/customer ID", Pack::customerAccount, Category::customerAccount, 0.72, true, 1, isPlausibleAccountIdentifier, Action::review, false,
     "Customer and account identifiers can reveal private business context.",
     uR"((?<![A-Za-z0-9])(?:c(?=customer)|a(?=acc)|t(?=tenant)|w(?=workspace))?((?:customer|account|acct|tenant|workspace)[_-][A-Za-z0-9][A-Za-z0-9_-]{6,}[A-Za-z0-9])(?![A-Za-z0-9]))"},
    {"highEntropy", Kind::secret, "High-entropy secret", Pack::secrets, Category::highEntropy, 0.76, false, 1, isPlausibleHighEntropySecret, Action::review, false,
     "Random-looking tokens can expose application or account access.",
     uR"((?<![A-Za-z0-9])(?=[A-Za-z0-9_/\-+=]{28,})(?=[A-Za-z0-9_/\-+=]*[a-z])(?=[A-Za-z0-9_/\-+=]*[A-Z])(?=[A-Za-z0-9_/\-+=]*\d)(?:(?:[A-Z_][A-Z0-9_\-]*|[a-z_][a-z0-9_\-]*)=+(?=[A-Za-z0-9_/\-+]))?([A-Za-z0-9_/\-+=]+)(?![A-Za-z0-9]))"},
    {"confidentialLabel", Kind::unknown, "Confidential label", Pack::companyConfidential, Category::custom, 0.88, true, 0, nullptr, Action::review, false,
     "Matched a visible confidentiality label. This is policy matching, not semantic classification.",
     uR"(\b(?:CONFIDENTIAL|INTERNAL\s+ONLY|DO\s+NOT\s+SHARE|NDA|PROPRIETARY|RESTRICTED)\b)"},
};

class BuiltInRuleTest : public ::testing::TestWithParam<int> {};

TEST_P(BuiltInRuleTest, MatchesTheTable)
{
    const RuleRow &row = kRows[GetParam()];
    const QList<SensitiveTextRule> &rules = SensitiveTextRuleCatalog::builtInRules();
    ASSERT_EQ(rules.size(), 18);
    const SensitiveTextRule &rule = rules[GetParam()];
    EXPECT_EQ(rule.kind, row.kind);
    EXPECT_EQ(rule.label, QString::fromUtf8(row.label));
    EXPECT_EQ(rule.reason, QString::fromUtf8(row.reason));
    EXPECT_EQ(rule.policyPackID, row.pack);
    EXPECT_EQ(rule.detectorCategory, row.category);
    EXPECT_EQ(rule.confidence, row.confidence);
    EXPECT_EQ(rule.regex.pattern(), QString::fromUtf16(row.pattern));
    EXPECT_EQ(rule.regex.flags(), row.caseInsensitive ? IcuPattern::CaseInsensitive : IcuPattern::NoFlags);
    EXPECT_EQ(rule.matchGroup, row.matchGroup);
    EXPECT_EQ(rule.validator, row.validator);
    EXPECT_EQ(rule.suggestedAction, row.action);
    EXPECT_EQ(rule.valueFinder != nullptr, row.findsEveryValue);
    // The table's pattern text compiles on its own with the same options.
    EXPECT_TRUE(IcuPattern::compile(QString::fromUtf16(row.pattern), rule.regex.flags()));
}

INSTANTIATE_TEST_SUITE_P(Catalogue, BuiltInRuleTest, ::testing::Range(0, 18),
    [](const auto &info) { return std::string(kRows[info.param].name); });

TEST(SensitiveTextRuleCatalogTest, EveryRuleIsInItsPacksLabelsExceptSshKeys)
{
    for (const SensitiveTextRule &rule : SensitiveTextRuleCatalog::builtInRules()) {
        const auto pack = RedactionPolicyCatalog::packContainingDetectorLabel(rule.label);
        if (rule.label == QStringLiteral("SSH public key")) {
            EXPECT_FALSE(pack.has_value());
            continue;
        }
        ASSERT_TRUE(pack.has_value()) << rule.label.toStdString();
        EXPECT_EQ(pack->id, rule.policyPackID) << rule.label.toStdString();
    }
}

TEST(SensitiveTextRuleCatalogTest, BuiltOnceAndSharedAcrossThreads)
{
    QList<QFuture<const QList<SensitiveTextRule> *>> calls;
    for (int i = 0; i < 8; ++i)
        calls.append(QtConcurrent::run([] { return &SensitiveTextRuleCatalog::builtInRules(); }));
    for (auto &call : calls)
        EXPECT_EQ(call.result(), &SensitiveTextRuleCatalog::builtInRules());
}

TEST(SensitiveTextRuleCatalogTest, CustomRulesTermsBeforePatternsSkippingInvalidPatterns)
{
    const auto rules = SensitiveTextRuleCatalog::customRules(
        {QStringLiteral("Orion"), QStringLiteral("a.b(c")}, {QStringLiteral("("), QStringLiteral("PRJ-\\d+")});
    ASSERT_EQ(rules.size(), 3);
    for (const SensitiveTextRule &rule : rules) {
        EXPECT_EQ(rule.kind, Kind::unknown);
        EXPECT_EQ(rule.policyPackID, Pack::custom);
        EXPECT_EQ(rule.detectorCategory, Category::custom);
        EXPECT_EQ(rule.matchGroup, 0);
        EXPECT_EQ(rule.validator, nullptr);
        EXPECT_EQ(rule.suggestedAction, Action::redact);
    }
    EXPECT_EQ(rules[0].label, QStringLiteral("Custom term"));
    EXPECT_EQ(rules[0].reason, QStringLiteral("Matched a local custom term."));
    EXPECT_EQ(rules[0].confidence, 0.96);
    // A term is literal: its metacharacters match themselves only.
    EXPECT_TRUE(rules[1].regex.matchesAnywhere(QStringLiteral("see A.B(C here")));
    EXPECT_FALSE(rules[1].regex.matchesAnywhere(QStringLiteral("see aXb(c here")));
    EXPECT_EQ(rules[2].label, QStringLiteral("Custom pattern"));
    EXPECT_EQ(rules[2].reason, QStringLiteral("Matched a local custom pattern."));
    EXPECT_EQ(rules[2].confidence, 0.90);
    EXPECT_EQ(rules[2].regex.pattern(), QStringLiteral("PRJ-\\d+"));
    EXPECT_EQ(rules[2].regex.flags(), IcuPattern::NoFlags);
}

} // namespace
