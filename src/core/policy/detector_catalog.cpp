#include "core/policy/detector_catalog.h"

namespace velmora {

namespace {

using Group = DetectorTaxonomyGroup;
constexpr auto R = RedactionPolicyDisposition::autoRedact;
constexpr auto C = RedactionPolicyDisposition::needsReview;
constexpr auto O = RedactionPolicyDisposition::ignore;
constexpr bool built = true;
constexpr bool planned = false;

DetectorCatalogEntry entry(const char *id, const char *label, Group group, RedactionPolicyDisposition disposition,
                           bool implemented, const QStringList &aliases = {})
{
    return {QString::fromLatin1(id), QString::fromLatin1(label), group, disposition, implemented, aliases};
}

QList<DetectorCatalogEntry> makeEntries()
{
    return {
        entry("aws-key", "AWS key", Group::secrets, R, built),
        entry("github-token", "GitHub token", Group::secrets, R, built),
        entry("stripe-secret-key", "Stripe secret key", Group::secrets, R, built),
        entry("bearer-token", "Bearer token", Group::secrets, R, built, {QStringLiteral("Authorization header")}),
        entry("jwt", "JWT", Group::secrets, R, built),
        entry("ssh-public-key", "SSH public key", Group::secrets, C, built),
        entry("environment-secret", "Environment secret", Group::secrets, R, built),
        entry("url-query-token", "URL query token", Group::secrets, R, built,
              {QStringLiteral("Signed URL token"), QStringLiteral("Magic/reset link token")}),
        entry("google-api-key", "Google API key", Group::secrets, R, built),
        entry("openai-api-key", "OpenAI API key", Group::secrets, R, built),
        entry("slack-token", "Slack token", Group::secrets, R, built),
        entry("high-entropy-secret", "High-entropy secret", Group::secrets, C, built),
        entry("email", "Email", Group::personalData, R, built),
        entry("phone-number", "Phone number", Group::personalData, R, built),
        entry("card-number", "Card number", Group::financialData, R, built),
        entry("ip-address", "IP address", Group::personalData, C, built),
        entry("account-customer-id", "Account/customer ID", Group::companyConfidential, C, built),
        entry("confidential-label", "Confidential label", Group::companyConfidential, C, built),
        entry("qr-barcode", "QR/barcode", Group::visualContent, C, built),
        entry("face", "Face", Group::visualContent, C, built),
        entry("custom-term", "Custom term", Group::customPolicy, R, built),
        entry("custom-pattern", "Custom pattern", Group::customPolicy, R, built),
        entry("government-id", "Government ID", Group::governmentIDs, R, planned,
              {QStringLiteral("SSN"), QStringLiteral("passport"), QStringLiteral("driver license")}),
        entry("session-cookie", "Session cookie", Group::secrets, R, planned),
        entry("cloud-credential", "Cloud credential", Group::secrets, R, planned,
              {QStringLiteral("GCP"), QStringLiteral("Azure")}),
        entry("package-registry-token", "Package registry token", Group::secrets, R, planned,
              {QStringLiteral("npm"), QStringLiteral("PyPI"), QStringLiteral("Docker")}),
        entry("webhook-url", "Webhook URL", Group::secrets, R, planned),
        entry("kubeconfig-service-account", "Kubeconfig/service-account token", Group::secrets, R, planned),
        entry("terraform-secret", "Terraform state/vars secret", Group::secrets, R, planned),
        entry("meeting-link", "Meeting link", Group::companyConfidential, C, planned,
              {QStringLiteral("Zoom"), QStringLiteral("Meet"), QStringLiteral("Webex")}),
        entry("generic-domain", "Generic domain", Group::companyConfidential, O, planned),
        entry("person-name", "Person name", Group::personalData, O, planned),
        entry("date", "Date", Group::personalData, O, planned),
        entry("location", "Location", Group::personalData, O, planned),
        entry("broad-numeric-identifier", "Broad numeric identifier", Group::companyConfidential, O, planned,
              {QStringLiteral("Loose number"), QStringLiteral("Spreadsheet number")}),
    };
}

} // namespace

namespace DetectorCatalog {

const QList<DetectorCatalogEntry> &entries()
{
    static const QList<DetectorCatalogEntry> catalogue = makeEntries();
    return catalogue;
}

std::optional<DetectorCatalogEntry> entryForLabel(QStringView label)
{
    for (const DetectorCatalogEntry &candidate : entries()) {
        if (candidate.label == label)
            return candidate;
    }
    return std::nullopt;
}

} // namespace DetectorCatalog

} // namespace velmora
