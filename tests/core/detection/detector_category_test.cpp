#include "core/detection/detection.h"
#include "core/detection/detector_category.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct CategoryRow {
    const char *name;
    DetectorCategory category;
    const char *title;
    const char *summary;
    DetectorTaxonomyGroup group;
};

class DetectorCategoryTableTest : public ::testing::TestWithParam<std::pair<int, CategoryRow>> {};

TEST_P(DetectorCategoryTableTest, MatchesTheTableFieldByField)
{
    const auto &[index, row] = GetParam();
    const auto cases = allCases<DetectorCategory>();
    ASSERT_EQ(cases.size(), 10u);
    EXPECT_EQ(cases.at(index), row.category);
    EXPECT_EQ(rawValue(row.category), QString::fromLatin1(row.name));
    EXPECT_EQ(fromRawValue<DetectorCategory>(QString::fromLatin1(row.name)), row.category);
    EXPECT_EQ(title(row.category), QString::fromUtf8(row.title));
    EXPECT_EQ(summary(row.category), QString::fromUtf8(row.summary));
    EXPECT_EQ(taxonomyGroup(row.category), row.group);
}

INSTANTIATE_TEST_SUITE_P(Categories, DetectorCategoryTableTest, ::testing::Values(
    std::pair{0, CategoryRow{"emails", DetectorCategory::emails, "Emails", "Visible email addresses.",
        DetectorTaxonomyGroup::personalData}},
    std::pair{1, CategoryRow{"phones", DetectorCategory::phones, "Phones",
        "Phone-number-like values with clear formatting, country code, or phone context.",
        DetectorTaxonomyGroup::personalData}},
    std::pair{2, CategoryRow{"cards", DetectorCategory::cards, "Cards",
        "Payment-card-like numbers that pass Luhn validation.", DetectorTaxonomyGroup::financialData}},
    std::pair{3, CategoryRow{"ipAddresses", DetectorCategory::ipAddresses, "IPs",
        "IPv4 addresses visible in screenshots.", DetectorTaxonomyGroup::personalData}},
    std::pair{4, CategoryRow{"secrets", DetectorCategory::secrets, "Secrets/API keys",
        "Known token formats, API keys, bearer tokens, JWTs, URL tokens, and secret-looking environment variables.",
        DetectorTaxonomyGroup::secrets}},
    std::pair{5, CategoryRow{"highEntropy", DetectorCategory::highEntropy, "High-entropy strings",
        "Random-looking strings. Velmora treats generic matches as Check, not automatic high-confidence redaction.",
        DetectorTaxonomyGroup::secrets}},
    std::pair{6, CategoryRow{"visualCodes", DetectorCategory::visualCodes, "QR/barcodes",
        "QR codes and common barcodes detected locally.", DetectorTaxonomyGroup::visualContent}},
    std::pair{7, CategoryRow{"faces", DetectorCategory::faces, "Faces", "Faces detected locally.",
        DetectorTaxonomyGroup::visualContent}},
    std::pair{8, CategoryRow{"customerAccount", DetectorCategory::customerAccount, "Customer/account data",
        "Visible customer, account, tenant, or workspace identifiers.", DetectorTaxonomyGroup::companyConfidential}},
    std::pair{9, CategoryRow{"custom", DetectorCategory::custom, "Custom terms/regexes",
        "Your local terms, regexes, and visible confidentiality labels.", DetectorTaxonomyGroup::customPolicy}}),
    [](const auto &info) { return std::string(info.param.second.name); });

TEST(DetectorCategoryTest, RawValuesAreExact)
{
    EXPECT_EQ(fromRawValue<DetectorCategory>(u"Emails"), std::nullopt);
    EXPECT_EQ(fromRawValue<DetectorCategory>(u"emails "), std::nullopt);
    EXPECT_EQ(fromRawValue<DetectorCategory>(u""), std::nullopt);
}

struct FindingRow {
    const char *name;
    DetectionKind kind;
    const char *label;
    DetectorCategory category;
};

class FindingCategoryTest : public ::testing::TestWithParam<FindingRow> {};

TEST_P(FindingCategoryTest, FollowsKindAndExactLabel)
{
    Detection detection;
    detection.kind = GetParam().kind;
    detection.label = QString::fromUtf8(GetParam().label);
    EXPECT_EQ(detectorCategory(detection), GetParam().category);
}

INSTANTIATE_TEST_SUITE_P(Findings, FindingCategoryTest, ::testing::Values(
    FindingRow{"apiKey", DetectionKind::apiKey, "AWS key", DetectorCategory::secrets},
    FindingRow{"url", DetectionKind::url, "URL query token", DetectorCategory::secrets},
    FindingRow{"highEntropySecret", DetectionKind::secret, "High-entropy secret", DetectorCategory::highEntropy},
    FindingRow{"highEntropyInOtherCase", DetectionKind::secret, "high-entropy secret", DetectorCategory::secrets},
    FindingRow{"otherSecret", DetectionKind::secret, "Environment secret", DetectorCategory::secrets},
    FindingRow{"email", DetectionKind::email, "Email", DetectorCategory::emails},
    FindingRow{"phone", DetectionKind::phoneNumber, "Phone number", DetectorCategory::phones},
    FindingRow{"card", DetectionKind::creditCard, "Card number", DetectorCategory::cards},
    FindingRow{"ipAddress", DetectionKind::ipAddress, "IP address", DetectorCategory::ipAddresses},
    FindingRow{"barcode", DetectionKind::barcode, "QR code", DetectorCategory::visualCodes},
    FindingRow{"face", DetectionKind::face, "Face", DetectorCategory::faces},
    FindingRow{"accountId", DetectionKind::unknown, "Account/customer ID", DetectorCategory::customerAccount},
    FindingRow{"accountIdInOtherCase", DetectionKind::unknown, "account/customer ID", DetectorCategory::custom},
    FindingRow{"customTerm", DetectionKind::unknown, "Custom term", DetectorCategory::custom},
    FindingRow{"manualBox", DetectionKind::unknown, "Manual redaction", DetectorCategory::custom}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
