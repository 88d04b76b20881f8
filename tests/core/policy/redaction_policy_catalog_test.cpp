#include "core/policy/redaction_policy_catalog.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

constexpr auto R = RedactionPolicyDisposition::autoRedact;
constexpr auto C = RedactionPolicyDisposition::needsReview;

struct PackRow {
    const char *name;
    RedactionPolicyPackID id;
    const char *title;
    const char *summary;
    RedactionPolicyDisposition defaultDisposition;
    QStringList labels;
};

class PackCatalogTest : public ::testing::TestWithParam<std::pair<int, PackRow>> {};

TEST_P(PackCatalogTest, MatchesTheCatalogueFieldByField)
{
    const auto &[index, row] = GetParam();
    ASSERT_EQ(RedactionPolicyCatalog::packs().size(), 5);
    const RedactionPolicyPack &pack = RedactionPolicyCatalog::packs().at(index);
    EXPECT_EQ(pack.id, row.id);
    EXPECT_EQ(rawValue(pack.id), QString::fromLatin1(row.name));
    EXPECT_EQ(pack.title, QString::fromUtf8(row.title));
    EXPECT_EQ(pack.summary, QString::fromUtf8(row.summary));
    EXPECT_EQ(pack.defaultDisposition, row.defaultDisposition);
    EXPECT_EQ(pack.detectorLabels, row.labels);
    EXPECT_EQ(RedactionPolicyCatalog::pack(row.id), pack);
}

INSTANTIATE_TEST_SUITE_P(Packs, PackCatalogTest, ::testing::Values(
    std::pair{0, PackRow{"pii", RedactionPolicyPackID::pii, "PII",
        "Visible personal data such as emails, phone numbers, and payment-card-like values.", R,
        {"Email", "Phone number", "Card number"}}},
    std::pair{1, PackRow{"secrets", RedactionPolicyPackID::secrets, "Secrets/API keys",
        "Visible credentials, API keys, tokens, private URL parameters, and random-looking secrets.", R,
        {"AWS key", "GitHub token", "Stripe secret key", "Bearer token", "JWT", "Environment secret",
         "URL query token", "Google API key", "OpenAI API key", "Slack token", "High-entropy secret"}}},
    std::pair{2, PackRow{"companyConfidential", RedactionPolicyPackID::companyConfidential, "Company confidential",
        "Visible confidentiality labels such as Confidential, Internal Only, Do Not Share, NDA, Proprietary, or "
        "Restricted.", C, {"Confidential label"}}},
    std::pair{3, PackRow{"customerAccount", RedactionPolicyPackID::customerAccount, "Customer/account data",
        "Visible customer, account, tenant, workspace, infrastructure, or account-linking values.", C,
        {"Account/customer ID", "IP address"}}},
    std::pair{4, PackRow{"custom", RedactionPolicyPackID::custom, "Custom terms/regexes",
        "Local terms and regexes configured on this computer.", R, {"Custom term", "Custom pattern"}}}),
    [](const auto &info) { return std::string(info.param.second.name); });

struct PresetRow {
    const char *name;
    RedactionPolicyPresetID id;
    const char *title;
    const char *summary;
    PackDispositions dispositions;
};

PackDispositions row(RedactionPolicyDisposition pii, RedactionPolicyDisposition secrets,
                     RedactionPolicyDisposition companyConfidential, RedactionPolicyDisposition customerAccount,
                     RedactionPolicyDisposition custom)
{
    return {{RedactionPolicyPackID::pii, pii},
            {RedactionPolicyPackID::secrets, secrets},
            {RedactionPolicyPackID::companyConfidential, companyConfidential},
            {RedactionPolicyPackID::customerAccount, customerAccount},
            {RedactionPolicyPackID::custom, custom}};
}

class PresetCatalogTest : public ::testing::TestWithParam<std::pair<int, PresetRow>> {};

TEST_P(PresetCatalogTest, MatchesTheCatalogueFieldByField)
{
    const auto &[index, expected] = GetParam();
    ASSERT_EQ(RedactionPolicyCatalog::presets().size(), 7);
    const RedactionPolicyPreset &preset = RedactionPolicyCatalog::presets().at(index);
    EXPECT_EQ(preset.id, expected.id);
    EXPECT_EQ(rawValue(preset.id), QString::fromLatin1(expected.name));
    EXPECT_EQ(allCases<RedactionPolicyPresetID>().at(index), expected.id);
    EXPECT_EQ(preset.title, QString::fromUtf8(expected.title));
    EXPECT_EQ(preset.summary, QString::fromUtf8(expected.summary));
    for (const RedactionPolicyPackID pack : allCases<RedactionPolicyPackID>()) {
        ASSERT_TRUE(preset.policyDispositions.contains(pack)) << rawValue(pack).toStdString();
        EXPECT_EQ(preset.policyDispositions.value(pack), expected.dispositions.value(pack))
            << rawValue(pack).toStdString();
    }
    EXPECT_EQ(preset.policyDispositions.size(), 5);
    EXPECT_EQ(RedactionPolicyCatalog::preset(expected.id), preset);
}

INSTANTIATE_TEST_SUITE_P(Presets, PresetCatalogTest, ::testing::Values(
    std::pair{0, PresetRow{"safeSharing", RedactionPolicyPresetID::safeSharing, "Safe Sharing",
        "Balanced default for screenshots going into AI tools, chat, email, tickets, docs, or support threads.",
        row(R, R, C, C, R)}},
    std::pair{1, PresetRow{"developerDevOps", RedactionPolicyPresetID::developerDevOps, "Developer/DevOps",
        "Stronger coverage for API keys, auth headers, signed URLs, SSH/JWTs, cloud tokens, kubeconfig, and "
        "database secrets while reviewing infrastructure context.", row(C, R, C, C, C)}},
    std::pair{2, PresetRow{"supportCustomerData", RedactionPolicyPresetID::supportCustomerData,
        "Support/Customer Data",
        "Keeps customer/account context reviewable while redacting secrets and reviewing personal data.",
        row(C, R, C, C, C)}},
    std::pair{3, PresetRow{"finance", RedactionPolicyPresetID::finance, "Finance",
        "Redacts payment-card-like values and secrets, reviews customer/account context and custom finance terms.",
        row(R, R, C, C, C)}},
    std::pair{4, PresetRow{"healthcareRegulated", RedactionPolicyPresetID::healthcareRegulated,
        "Healthcare/Regulated",
        "Redacts personal data and secrets, reviews confidential labels and account context for regulated sharing.",
        row(R, R, C, C, C)}},
    std::pair{5, PresetRow{"companyConfidential", RedactionPolicyPresetID::companyConfidential,
        "Company Confidential",
        "Reviews visible confidential labels and custom company terms without claiming semantic classification.",
        row(C, R, C, C, C)}},
    std::pair{6, PresetRow{"custom", RedactionPolicyPresetID::custom, "Custom",
        "Starts from conservative local defaults and lets your detector settings, terms, regexes, and allowlist "
        "define behavior.", row(C, R, C, C, C)}}),
    [](const auto &info) { return std::string(info.param.second.name); });

TEST(RedactionPolicyDispositionTest, CasesTitlesAndHelpTexts)
{
    const auto cases = allCases<RedactionPolicyDisposition>();
    ASSERT_EQ(cases.size(), 3u);
    EXPECT_EQ(rawValue(cases[0]), QStringLiteral("autoRedact"));
    EXPECT_EQ(rawValue(cases[1]), QStringLiteral("needsReview"));
    EXPECT_EQ(rawValue(cases[2]), QStringLiteral("ignore"));
    EXPECT_EQ(title(RedactionPolicyDisposition::autoRedact), QStringLiteral("Redact"));
    EXPECT_EQ(title(RedactionPolicyDisposition::needsReview), QStringLiteral("Review"));
    EXPECT_EQ(title(RedactionPolicyDisposition::ignore), QStringLiteral("Off"));
    EXPECT_EQ(helpText(RedactionPolicyDisposition::autoRedact), QStringLiteral("Included in cleaned output automatically."));
    EXPECT_EQ(helpText(RedactionPolicyDisposition::needsReview), QStringLiteral("Flagged for review before sharing."));
    EXPECT_EQ(helpText(RedactionPolicyDisposition::ignore), QStringLiteral("Does not create new findings."));
}

TEST(RedactionPolicyCatalogTest, PackIDsInOrder)
{
    QStringList raw;
    for (const auto id : allCases<RedactionPolicyPackID>())
        raw.append(rawValue(id));
    EXPECT_EQ(raw, (QStringList{"pii", "secrets", "companyConfidential", "customerAccount", "custom"}));
}

TEST(RedactionPolicyCatalogTest, NoPresetIgnoresAPack)
{
    for (const RedactionPolicyPreset &preset : RedactionPolicyCatalog::presets())
        EXPECT_FALSE(preset.policyDispositions.values().contains(RedactionPolicyDisposition::ignore));
}

struct LabelRow {
    const char *name;
    const char *label;
    std::optional<RedactionPolicyPackID> pack;
};

class PackForLabelTest : public ::testing::TestWithParam<LabelRow> {};

TEST_P(PackForLabelTest, FindsTheFirstPackListingTheExactLabel)
{
    const auto found = RedactionPolicyCatalog::packContainingDetectorLabel(QString::fromUtf8(GetParam().label));
    ASSERT_EQ(found.has_value(), GetParam().pack.has_value());
    if (found) {
        EXPECT_EQ(found->id, *GetParam().pack);
    }
}

INSTANTIATE_TEST_SUITE_P(Labels, PackForLabelTest, ::testing::Values(
    LabelRow{"ipAddress", "IP address", RedactionPolicyPackID::customerAccount},
    LabelRow{"email", "Email", RedactionPolicyPackID::pii},
    LabelRow{"highEntropy", "High-entropy secret", RedactionPolicyPackID::secrets},
    LabelRow{"customPattern", "Custom pattern", RedactionPolicyPackID::custom},
    LabelRow{"sshKeyInNoPack", "SSH public key", std::nullopt},
    LabelRow{"lowerCaseIpAddress", "ip address", std::nullopt},
    LabelRow{"face", "Face", std::nullopt},
    LabelRow{"empty", "", std::nullopt}),
    [](const auto &info) { return std::string(info.param.name); });

struct IdentifierRow {
    const char *name;
    QString identifier;
    std::optional<RedactionPolicyPresetID> preset;
};

class PresetIdentifierTest : public ::testing::TestWithParam<IdentifierRow> {};

TEST_P(PresetIdentifierTest, ParsesRawValuesAndAliasesExactly)
{
    EXPECT_EQ(presetIDFromIdentifier(GetParam().identifier), GetParam().preset);
}

INSTANTIATE_TEST_SUITE_P(Identifiers, PresetIdentifierTest, ::testing::Values(
    IdentifierRow{"absent", QString(), std::nullopt},
    IdentifierRow{"empty", QStringLiteral(""), std::nullopt},
    IdentifierRow{"rawValue", QStringLiteral("finance"), RedactionPolicyPresetID::finance},
    IdentifierRow{"customRawValue", QStringLiteral("custom"), RedactionPolicyPresetID::custom},
    IdentifierRow{"capitalised", QStringLiteral("SafeSharing"), std::nullopt},
    IdentifierRow{"notTrimmed", QStringLiteral(" finance"), std::nullopt},
    IdentifierRow{"title", QStringLiteral("Safe Sharing"), std::nullopt},
    IdentifierRow{"aiSharing", QStringLiteral("aiSharing"), RedactionPolicyPresetID::safeSharing},
    IdentifierRow{"publicDocs", QStringLiteral("publicDocs"), RedactionPolicyPresetID::safeSharing},
    IdentifierRow{"supportTicket", QStringLiteral("supportTicket"), RedactionPolicyPresetID::supportCustomerData},
    IdentifierRow{"internalTeammateSharing", QStringLiteral("internalTeammateSharing"), RedactionPolicyPresetID::custom},
    IdentifierRow{"aliasInOtherCase", QStringLiteral("AISharing"), std::nullopt}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
