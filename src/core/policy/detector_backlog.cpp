#include "core/policy/detector_backlog.h"

namespace velmora {

namespace {

using Group = DetectorTaxonomyGroup;
constexpr auto R = RedactionPolicyDisposition::autoRedact;
constexpr auto C = RedactionPolicyDisposition::needsReview;
constexpr auto O = RedactionPolicyDisposition::ignore;

DetectorBacklogItem item(const char *id, const char *label, int priority, Group group,
                         RedactionPolicyDisposition disposition)
{
    // No planned detector may become a default one before it has fixtures.
    return {QString::fromLatin1(id), QString::fromLatin1(label), priority, group, disposition, true};
}

QList<DetectorBacklogItem> makeItems()
{
    return {
        item("session-cookies", "Session cookies", 1, Group::secrets, R),
        item("magic-reset-links", "Magic/reset links", 1, Group::secrets, R),
        item("signed-cloud-urls", "Signed cloud URLs", 1, Group::secrets, R),
        item("gcp-azure-credentials", "GCP/Azure credentials", 1, Group::secrets, R),
        item("registry-tokens", "npm/PyPI/Docker/GitLab registry tokens", 1, Group::secrets, R),
        item("observability-tokens", "Datadog/Sentry/Twilio/SendGrid tokens", 1, Group::secrets, R),
        item("kubeconfig-service-account", "Kubeconfig/service-account tokens", 1, Group::secrets, R),
        item("terraform-state-vars", "Terraform state/vars secrets", 1, Group::secrets, R),
        item("meeting-links", "Meeting links", 3, Group::companyConfidential, C),
        item("generic-domains", "Generic domains", 3, Group::companyConfidential, O),
        item("person-names", "Person names", 4, Group::personalData, O),
        item("dates", "Dates", 4, Group::personalData, O),
        item("locations", "Locations", 4, Group::personalData, O),
        item("broad-numeric-identifiers", "Broad numeric identifiers", 4, Group::companyConfidential, O),
    };
}

} // namespace

namespace DetectorBacklog {

const QList<DetectorBacklogItem> &items()
{
    static const QList<DetectorBacklogItem> backlog = makeItems();
    return backlog;
}

} // namespace DetectorBacklog

} // namespace velmora
