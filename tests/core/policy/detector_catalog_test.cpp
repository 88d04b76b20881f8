#include "core/policy/detector_backlog.h"
#include "core/policy/detector_catalog.h"

#include <QSet>
#include <gtest/gtest.h>

#include <algorithm>

using namespace velmora;

namespace {

using G = DetectorTaxonomyGroup;
constexpr auto R = RedactionPolicyDisposition::autoRedact;
constexpr auto C = RedactionPolicyDisposition::needsReview;
constexpr auto O = RedactionPolicyDisposition::ignore;

struct EntryRow {
    int index;
    const char *id;
    const char *label;
    G group;
    RedactionPolicyDisposition disposition;
    bool implemented;
    QStringList aliases;
};

class DetectorCatalogTableTest : public ::testing::TestWithParam<EntryRow> {};

TEST_P(DetectorCatalogTableTest, MatchesTheCatalogueFieldByField)
{
    const EntryRow &row = GetParam();
    ASSERT_EQ(DetectorCatalog::entries().size(), 35);
    const DetectorCatalogEntry &entry = DetectorCatalog::entries().at(row.index);
    EXPECT_EQ(entry.id, QString::fromLatin1(row.id));
    EXPECT_EQ(entry.label, QString::fromLatin1(row.label));
    EXPECT_EQ(entry.taxonomyGroup, row.group);
    EXPECT_EQ(entry.defaultDisposition, row.disposition);
    EXPECT_EQ(entry.implemented, row.implemented);
    EXPECT_EQ(entry.aliases, row.aliases);
    EXPECT_EQ(DetectorCatalog::entryForLabel(entry.label), entry);
}

std::string rowName(const char *id)
{
    std::string name(id);
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Entries, DetectorCatalogTableTest, ::testing::Values(
    EntryRow{0, "aws-key", "AWS key", G::secrets, R, true, {}},
    EntryRow{1, "github-token", "GitHub token", G::secrets, R, true, {}},
    EntryRow{2, "stripe-secret-key", "Stripe secret key", G::secrets, R, true, {}},
    EntryRow{3, "bearer-token", "Bearer token", G::secrets, R, true, {"Authorization header"}},
    EntryRow{4, "jwt", "JWT", G::secrets, R, true, {}},
    EntryRow{5, "ssh-public-key", "SSH public key", G::secrets, C, true, {}},
    EntryRow{6, "environment-secret", "Environment secret", G::secrets, R, true, {}},
    EntryRow{7, "url-query-token", "URL query token", G::secrets, R, true, {"Signed URL token", "Magic/reset link token"}},
    EntryRow{8, "google-api-key", "Google API key", G::secrets, R, true, {}},
    EntryRow{9, "openai-api-key", "OpenAI API key", G::secrets, R, true, {}},
    EntryRow{10, "slack-token", "Slack token", G::secrets, R, true, {}},
    EntryRow{11, "high-entropy-secret", "High-entropy secret", G::secrets, C, true, {}},
    EntryRow{12, "email", "Email", G::personalData, R, true, {}},
    EntryRow{13, "phone-number", "Phone number", G::personalData, R, true, {}},
    EntryRow{14, "card-number", "Card number", G::financialData, R, true, {}},
    EntryRow{15, "ip-address", "IP address", G::personalData, C, true, {}},
    EntryRow{16, "account-customer-id", "Account/customer ID", G::companyConfidential, C, true, {}},
    EntryRow{17, "confidential-label", "Confidential label", G::companyConfidential, C, true, {}},
    EntryRow{18, "qr-barcode", "QR/barcode", G::visualContent, C, true, {}},
    EntryRow{19, "face", "Face", G::visualContent, C, true, {}},
    EntryRow{20, "custom-term", "Custom term", G::customPolicy, R, true, {}},
    EntryRow{21, "custom-pattern", "Custom pattern", G::customPolicy, R, true, {}},
    EntryRow{22, "government-id", "Government ID", G::governmentIDs, R, false, {"SSN", "passport", "driver license"}},
    EntryRow{23, "session-cookie", "Session cookie", G::secrets, R, false, {}},
    EntryRow{24, "cloud-credential", "Cloud credential", G::secrets, R, false, {"GCP", "Azure"}},
    EntryRow{25, "package-registry-token", "Package registry token", G::secrets, R, false, {"npm", "PyPI", "Docker"}},
    EntryRow{26, "webhook-url", "Webhook URL", G::secrets, R, false, {}},
    EntryRow{27, "kubeconfig-service-account", "Kubeconfig/service-account token", G::secrets, R, false, {}},
    EntryRow{28, "terraform-secret", "Terraform state/vars secret", G::secrets, R, false, {}},
    EntryRow{29, "meeting-link", "Meeting link", G::companyConfidential, C, false, {"Zoom", "Meet", "Webex"}},
    EntryRow{30, "generic-domain", "Generic domain", G::companyConfidential, O, false, {}},
    EntryRow{31, "person-name", "Person name", G::personalData, O, false, {}},
    EntryRow{32, "date", "Date", G::personalData, O, false, {}},
    EntryRow{33, "location", "Location", G::personalData, O, false, {}},
    EntryRow{34, "broad-numeric-identifier", "Broad numeric identifier", G::companyConfidential, O, false,
             {"Loose number", "Spreadsheet number"}}),
    [](const auto &info) { return rowName(info.param.id); });

struct BacklogRow {
    int index;
    const char *id;
    const char *label;
    int priority;
    G group;
    RedactionPolicyDisposition disposition;
};

class DetectorBacklogTableTest : public ::testing::TestWithParam<BacklogRow> {};

TEST_P(DetectorBacklogTableTest, MatchesTheBacklogFieldByField)
{
    const BacklogRow &row = GetParam();
    ASSERT_EQ(DetectorBacklog::items().size(), 14);
    const DetectorBacklogItem &item = DetectorBacklog::items().at(row.index);
    EXPECT_EQ(item.id, QString::fromLatin1(row.id));
    EXPECT_EQ(item.label, QString::fromLatin1(row.label));
    EXPECT_EQ(item.priority, row.priority);
    EXPECT_EQ(item.taxonomyGroup, row.group);
    EXPECT_EQ(item.defaultDisposition, row.disposition);
    EXPECT_TRUE(item.requiresFixturesBeforeDefault);
}

INSTANTIATE_TEST_SUITE_P(Items, DetectorBacklogTableTest, ::testing::Values(
    BacklogRow{0, "session-cookies", "Session cookies", 1, G::secrets, R},
    BacklogRow{1, "magic-reset-links", "Magic/reset links", 1, G::secrets, R},
    BacklogRow{2, "signed-cloud-urls", "Signed cloud URLs", 1, G::secrets, R},
    BacklogRow{3, "gcp-azure-credentials", "GCP/Azure credentials", 1, G::secrets, R},
    BacklogRow{4, "registry-tokens", "npm/PyPI/Docker/GitLab registry tokens", 1, G::secrets, R},
    BacklogRow{5, "observability-tokens", "Datadog/Sentry/Twilio/SendGrid tokens", 1, G::secrets, R},
    BacklogRow{6, "kubeconfig-service-account", "Kubeconfig/service-account tokens", 1, G::secrets, R},
    BacklogRow{7, "terraform-state-vars", "Terraform state/vars secrets", 1, G::secrets, R},
    BacklogRow{8, "meeting-links", "Meeting links", 3, G::companyConfidential, C},
    BacklogRow{9, "generic-domains", "Generic domains", 3, G::companyConfidential, O},
    BacklogRow{10, "person-names", "Person names", 4, G::personalData, O},
    BacklogRow{11, "dates", "Dates", 4, G::personalData, O},
    BacklogRow{12, "locations", "Locations", 4, G::personalData, O},
    BacklogRow{13, "broad-numeric-identifiers", "Broad numeric identifiers", 4, G::companyConfidential, O}),
    [](const auto &info) { return rowName(info.param.id); });

struct GroupRow {
    const char *name;
    G group;
    const char *title;
};

class DetectorTaxonomyGroupTest : public ::testing::TestWithParam<std::pair<int, GroupRow>> {};

TEST_P(DetectorTaxonomyGroupTest, RawValueAndTitleInOrder)
{
    const auto &[index, row] = GetParam();
    const auto cases = allCases<G>();
    ASSERT_EQ(cases.size(), 7u);
    EXPECT_EQ(cases.at(index), row.group);
    EXPECT_EQ(rawValue(row.group), QString::fromLatin1(row.name));
    EXPECT_EQ(title(row.group), QString::fromLatin1(row.title));
}

INSTANTIATE_TEST_SUITE_P(Groups, DetectorTaxonomyGroupTest, ::testing::Values(
    std::pair{0, GroupRow{"secrets", G::secrets, "Secrets"}},
    std::pair{1, GroupRow{"personalData", G::personalData, "Personal data"}},
    std::pair{2, GroupRow{"financialData", G::financialData, "Financial data"}},
    std::pair{3, GroupRow{"governmentIDs", G::governmentIDs, "Government IDs"}},
    std::pair{4, GroupRow{"companyConfidential", G::companyConfidential, "Company confidential"}},
    std::pair{5, GroupRow{"visualContent", G::visualContent, "Visual content"}},
    std::pair{6, GroupRow{"customPolicy", G::customPolicy, "Custom policy"}}),
    [](const auto &info) { return std::string(info.param.second.name); });

TEST(DetectorCatalogTest, LooksUpByExactLabelOnly)
{
    const auto face = DetectorCatalog::entryForLabel(u"Face");
    ASSERT_TRUE(face);
    EXPECT_EQ(face->id, QStringLiteral("face"));
    EXPECT_EQ(face->taxonomyGroup, G::visualContent);
    EXPECT_EQ(DetectorCatalog::entryForLabel(u"face"), std::nullopt);                 // the id
    EXPECT_EQ(DetectorCatalog::entryForLabel(u"Authorization header"), std::nullopt); // an alias
    EXPECT_EQ(DetectorCatalog::entryForLabel(u"Custom Term"), std::nullopt);
    // The visual detector's code labels have no entry of their own.
    EXPECT_EQ(DetectorCatalog::entryForLabel(u"QR code"), std::nullopt);
    EXPECT_EQ(DetectorCatalog::entryForLabel(u"Barcode"), std::nullopt);
}

TEST(DetectorCatalogTest, IdsAndLabelsAreUnique)
{
    QSet<QString> ids;
    QSet<QString> labels;
    for (const DetectorCatalogEntry &entry : DetectorCatalog::entries()) {
        EXPECT_FALSE(ids.contains(entry.id)) << entry.id.toStdString();
        EXPECT_FALSE(labels.contains(entry.label)) << entry.label.toStdString();
        ids.insert(entry.id);
        labels.insert(entry.label);
    }
    QSet<QString> backlogIDs;
    for (const DetectorBacklogItem &item : DetectorBacklog::items()) {
        EXPECT_FALSE(backlogIDs.contains(item.id)) << item.id.toStdString();
        backlogIDs.insert(item.id);
    }
}

TEST(DetectorCatalogTest, BacklogIsInAscendingPriority)
{
    const auto &items = DetectorBacklog::items();
    for (qsizetype i = 1; i < items.size(); ++i)
        EXPECT_LE(items.at(i - 1).priority, items.at(i).priority) << items.at(i).id.toStdString();
}

TEST(DetectorCatalogTest, BacklogAndCatalogueRecordsStaySeparate)
{
    const QString shared = QStringLiteral("kubeconfig-service-account");
    const auto inCatalogue = std::find_if(DetectorCatalog::entries().begin(), DetectorCatalog::entries().end(),
                                          [&](const auto &entry) { return entry.id == shared; });
    const auto inBacklog = std::find_if(DetectorBacklog::items().begin(), DetectorBacklog::items().end(),
                                        [&](const auto &item) { return item.id == shared; });
    ASSERT_NE(inCatalogue, DetectorCatalog::entries().end());
    ASSERT_NE(inBacklog, DetectorBacklog::items().end());
    EXPECT_EQ(inCatalogue->label, QStringLiteral("Kubeconfig/service-account token"));
    EXPECT_EQ(inBacklog->label, QStringLiteral("Kubeconfig/service-account tokens"));
    EXPECT_EQ(DetectorCatalog::entryForLabel(inBacklog->label), std::nullopt);
}

} // namespace
