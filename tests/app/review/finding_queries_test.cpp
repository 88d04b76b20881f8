#include "app/review/finding_queries.h"

#include "support/detection_fixtures.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

Detection finding(DetectionKind kind, const QString &label, double bottom)
{
    Detection detection = test::makeFinding({0.1, bottom, 0.3, 0.04});
    detection.kind = kind;
    detection.label = label;
    return detection;
}

struct CategoryRow
{
    const char *name;
    DetectionKind kind;
    const char *label;
    QList<FindingCategory> categories;
};

class FindingCategoryMembership : public ::testing::TestWithParam<CategoryRow>
{
};

TEST_P(FindingCategoryMembership, ByKindAndExactLabel)
{
    const CategoryRow &row = GetParam();
    const Detection detection = finding(row.kind, QString::fromUtf8(row.label), 0.5);
    QList<FindingCategory> categories;
    for (FindingCategory category : allCases<FindingCategory>()) {
        if (findingCategoryContains(category, detection))
            categories.append(category);
    }
    EXPECT_EQ(categories, row.categories);
}

using K = DetectionKind;
using C = FindingCategory;

INSTANTIATE_TEST_SUITE_P(Rows, FindingCategoryMembership, ::testing::Values(
    CategoryRow{"ApiKey", K::apiKey, "AWS key", {C::secrets}},
    CategoryRow{"Secret", K::secret, "High-entropy secret", {C::secrets}},
    CategoryRow{"Url", K::url, "URL query token", {C::secrets}},
    CategoryRow{"Email", K::email, "Email", {C::emails}},
    CategoryRow{"Face", K::face, "Face", {C::people}},
    CategoryRow{"Barcode", K::barcode, "QR code", {C::visualCodes}},
    CategoryRow{"IpAddress", K::ipAddress, "IP address", {C::infrastructure}},
    CategoryRow{"Card", K::creditCard, "Card number", {C::payments}},
    CategoryRow{"Phone", K::phoneNumber, "Phone number", {C::phones}},
    CategoryRow{"UnknownCustomTerm", K::unknown, "Custom term", {C::review}},
    CategoryRow{"ApiKeyLabelledAccountCountsTwice", K::apiKey, "Account/customer ID", {C::secrets, C::customerAccount}},
    CategoryRow{"PhoneLabelledAccountCountsTwice", K::phoneNumber, "Account/customer ID", {C::customerAccount, C::phones}},
    CategoryRow{"UnknownLabelledAccountOnlyAccount", K::unknown, "Account/customer ID", {C::customerAccount}},
    CategoryRow{"AccountLabelIsCaseSensitive", K::unknown, "account/customer id", {C::review}}),
    [](const auto &info) { return std::string(info.param.name); });

class FindingQueries : public ::testing::Test
{
protected:
    void SetUp() override
    {
        email = finding(K::email, "Email", 0.9);
        lowKey = finding(K::apiKey, "Account/customer ID", 0.7);
        lowKey.confidence = 0.5;
        phone = finding(K::phoneNumber, "Phone number", 0.5);
        plan = RedactionPlan({email, lowKey, phone}, {}, {});
        plan.setActive(false, phone.id);
    }

    QList<QUuid> ids(const QList<RedactionPlanEntry> &entries)
    {
        QList<QUuid> result;
        for (const auto &entry : entries)
            result.append(entry.id());
        return result;
    }

    Detection email, lowKey, phone;
    RedactionPlan plan;
};

TEST_F(FindingQueries, FiltersKeepPlanOrder)
{
    EXPECT_EQ(ids(filteredEntries(plan, FindingFilter::all)), (QList<QUuid>{email.id, lowKey.id, phone.id}));
    EXPECT_EQ(ids(filteredEntries(plan, FindingFilter::needsReview)), (QList<QUuid>{lowKey.id}));
    EXPECT_EQ(ids(filteredEntries(plan, FindingFilter::included)), (QList<QUuid>{email.id, lowKey.id}));
    EXPECT_EQ(ids(filteredEntries(plan, FindingFilter::off)), (QList<QUuid>{phone.id}));
    EXPECT_EQ(inactiveFindingCount(plan), 1);
}

TEST_F(FindingQueries, GroupsFollowCategoryOrderAndListAnEntryTwice)
{
    const QList<FindingGroup> groups = groupedFilteredEntries(plan, FindingFilter::all);
    QList<FindingCategory> categories;
    for (const FindingGroup &group : groups)
        categories.append(group.category);
    EXPECT_EQ(categories, (QList<FindingCategory>{C::secrets, C::emails, C::customerAccount, C::phones}));
    EXPECT_EQ(ids(groups[0].entries), (QList<QUuid>{lowKey.id}));
    EXPECT_EQ(ids(groups[2].entries), (QList<QUuid>{lowKey.id}));
    EXPECT_TRUE(groupedFilteredEntries(plan, FindingFilter::off).size() == 1);
}

TEST_F(FindingQueries, SelectionQueries)
{
    const QUuid manual = *plan.addManualRedaction("Manual redaction", "Added by the user.", {0.5, 0.1, 0.2, 0.1});
    plan.setActive(false, manual);
    EXPECT_EQ(selectedEntry(plan, email.id)->id(), email.id);
    EXPECT_FALSE(selectedEntry(plan, QUuid::createUuid()));
    EXPECT_FALSE(selectedEntry(plan, std::nullopt));
    EXPECT_EQ(selectedManualDetectionID(plan, manual), manual);
    EXPECT_FALSE(selectedManualDetectionID(plan, email.id));
    EXPECT_FALSE(selectedAdjustedDetectionID(plan, email.id));
    ASSERT_TRUE(plan.updateBounds(email.id, {0.1, 0.85, 0.3, 0.05}));
    EXPECT_EQ(selectedAdjustedDetectionID(plan, email.id), email.id);
    EXPECT_EQ(selectedManualDetectionID(plan, email.id), email.id);
    EXPECT_EQ(manualDetectionStates(plan), (QHash<QUuid, bool>{{manual, false}, {email.id, true}}));
}

} // namespace
} // namespace velmora
