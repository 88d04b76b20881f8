#include "core/policy/redaction_policy_catalog.h"

namespace velmora {

namespace {

using Pack = RedactionPolicyPackID;
using Preset = RedactionPolicyPresetID;
constexpr auto redact = RedactionPolicyDisposition::autoRedact;
constexpr auto review = RedactionPolicyDisposition::needsReview;

PackDispositions dispositions(RedactionPolicyDisposition pii, RedactionPolicyDisposition custom)
{
    // Secrets are always redacted and the three context packs always reviewed; presets
    // differ only in how they treat personal data and the user's own terms.
    return {{Pack::pii, pii},
            {Pack::secrets, redact},
            {Pack::companyConfidential, review},
            {Pack::customerAccount, review},
            {Pack::custom, custom}};
}

QList<RedactionPolicyPack> makePacks()
{
    return {
        {Pack::pii, QStringLiteral("PII"),
         QStringLiteral("Visible personal data such as emails, phone numbers, and payment-card-like values."),
         redact, {QStringLiteral("Email"), QStringLiteral("Phone number"), QStringLiteral("Card number")}},
        {Pack::secrets, QStringLiteral("Secrets/API keys"),
         QStringLiteral("Visible credentials, API keys, tokens, private URL parameters, and random-looking secrets."),
         redact,
         {QStringLiteral("AWS key"), QStringLiteral("GitHub token"), QStringLiteral("Stripe secret key"),
          QStringLiteral("Bearer token"), QStringLiteral("JWT"), QStringLiteral("Environment secret"),
          QStringLiteral("URL query token"), QStringLiteral("Google API key"), QStringLiteral("OpenAI API key"),
          QStringLiteral("Slack token"), QStringLiteral("High-entropy secret")}},
        {Pack::companyConfidential, QStringLiteral("Company confidential"),
         QStringLiteral("Visible confidentiality labels such as Confidential, Internal Only, Do Not Share, NDA, "
                        "Proprietary, or Restricted."),
         review, {QStringLiteral("Confidential label")}},
        {Pack::customerAccount, QStringLiteral("Customer/account data"),
         QStringLiteral("Visible customer, account, tenant, workspace, infrastructure, or account-linking values."),
         review, {QStringLiteral("Account/customer ID"), QStringLiteral("IP address")}},
        {Pack::custom, QStringLiteral("Custom terms/regexes"),
         QStringLiteral("Local terms and regexes configured on this computer."),
         redact, {QStringLiteral("Custom term"), QStringLiteral("Custom pattern")}},
    };
}

QList<RedactionPolicyPreset> makePresets()
{
    return {
        {Preset::safeSharing, QStringLiteral("Safe Sharing"),
         QStringLiteral("Balanced default for screenshots going into AI tools, chat, email, tickets, docs, or "
                        "support threads."),
         dispositions(redact, redact)},
        {Preset::developerDevOps, QStringLiteral("Developer/DevOps"),
         QStringLiteral("Stronger coverage for API keys, auth headers, signed URLs, SSH/JWTs, cloud tokens, "
                        "kubeconfig, and database secrets while reviewing infrastructure context."),
         dispositions(review, review)},
        {Preset::supportCustomerData, QStringLiteral("Support/Customer Data"),
         QStringLiteral("Keeps customer/account context reviewable while redacting secrets and reviewing "
                        "personal data."),
         dispositions(review, review)},
        {Preset::finance, QStringLiteral("Finance"),
         QStringLiteral("Redacts payment-card-like values and secrets, reviews customer/account context and "
                        "custom finance terms."),
         dispositions(redact, review)},
        {Preset::healthcareRegulated, QStringLiteral("Healthcare/Regulated"),
         QStringLiteral("Redacts personal data and secrets, reviews confidential labels and account context for "
                        "regulated sharing."),
         dispositions(redact, review)},
        {Preset::companyConfidential, QStringLiteral("Company Confidential"),
         QStringLiteral("Reviews visible confidential labels and custom company terms without claiming semantic "
                        "classification."),
         dispositions(review, review)},
        {Preset::custom, QStringLiteral("Custom"),
         QStringLiteral("Starts from conservative local defaults and lets your detector settings, terms, regexes, "
                        "and allowlist define behavior."),
         dispositions(review, review)},
    };
}

} // namespace

std::optional<RedactionPolicyPresetID> presetIDFromIdentifier(QStringView identifier)
{
    if (identifier.isEmpty())
        return std::nullopt;
    if (const auto id = fromRawValue<RedactionPolicyPresetID>(identifier))
        return id;
    // Identifiers of the earlier share-destination picker, still found in older stores.
    if (identifier == u"aiSharing" || identifier == u"publicDocs")
        return Preset::safeSharing;
    if (identifier == u"supportTicket")
        return Preset::supportCustomerData;
    if (identifier == u"internalTeammateSharing")
        return Preset::custom;
    return std::nullopt;
}

namespace RedactionPolicyCatalog {

const QList<RedactionPolicyPack> &packs()
{
    static const QList<RedactionPolicyPack> catalogue = makePacks();
    return catalogue;
}

const RedactionPolicyPack &pack(RedactionPolicyPackID id)
{
    // The catalogue holds the packs in the order of their ids.
    return packs().at(qsizetype(id));
}

std::optional<RedactionPolicyPack> packContainingDetectorLabel(QStringView label)
{
    for (const RedactionPolicyPack &candidate : packs()) {
        for (const QString &detectorLabel : candidate.detectorLabels) {
            if (detectorLabel == label)
                return candidate;
        }
    }
    return std::nullopt;
}

const QList<RedactionPolicyPreset> &presets()
{
    static const QList<RedactionPolicyPreset> catalogue = makePresets();
    return catalogue;
}

const RedactionPolicyPreset &preset(RedactionPolicyPresetID id)
{
    // The catalogue holds the presets in the order of their ids.
    return presets().at(qsizetype(id));
}

} // namespace RedactionPolicyCatalog

} // namespace velmora
