#include "core/settings/policy_lock.h"

#include "support/json_text.h"
#include "support/row_name.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

TEST(PolicyLockTest, TheEmptyLockWritesAnEmptyListAndReadsBack)
{
    const QJsonObject json = PolicyLock{}.toJson();
    EXPECT_EQ(json, test::jsonObject(R"({"lockedFields": []})"));
    EXPECT_EQ(PolicyLock::fromJson(json), PolicyLock{});
}

TEST(PolicyLockTest, FieldsReadInAnyOrder)
{
    const auto lock = PolicyLock::fromJson(test::jsonObject(R"({"lockedFields": ["allowlist", "policyPreset"]})"));
    ASSERT_TRUE(lock);
    EXPECT_EQ(lock->lockedFields, (std::set{PolicyField::policyPreset, PolicyField::allowlist}));
    EXPECT_TRUE(lock->locks(PolicyField::allowlist));
    EXPECT_FALSE(lock->locks(PolicyField::customTerms));
}

class PolicyLockDecoding : public ::testing::TestWithParam<test::JsonDecodeRow> {};

TEST_P(PolicyLockDecoding, NeedsTheListOfKnownFields)
{
    const QJsonValue value = QJsonDocument::fromJson(GetParam().json).object();
    EXPECT_EQ(PolicyLock::fromJson(value).has_value(), GetParam().decodes);
}

INSTANTIATE_TEST_SUITE_P(Rows, PolicyLockDecoding, ::testing::Values(
    test::JsonDecodeRow{"noKeys", "{}", false},
    test::JsonDecodeRow{"unknownField", R"({"lockedFields": ["customTerms", "faces"]})", false},
    test::JsonDecodeRow{"notAList", R"({"lockedFields": "allowlist"})", false},
    test::JsonDecodeRow{"allFour", R"({"lockedFields": ["customRegexes", "customTerms", "allowlist", "policyPreset"]})", true}),
    test::rowName);

struct StoredLockRow
{
    const char *name;
    QByteArray data;
    std::set<PolicyField> expected;
};

class StoredPolicyLock : public ::testing::TestWithParam<StoredLockRow> {};

TEST_P(StoredPolicyLock, UnreadableDataLocksNothing)
{
    EXPECT_EQ(PolicyLock::fromStoredData(GetParam().data).lockedFields, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, StoredPolicyLock, ::testing::Values(
    StoredLockRow{"empty", QByteArray(), {}},
    StoredLockRow{"notJson", QByteArray("lock"), {}},
    StoredLockRow{"anArray", QByteArray(R"(["customRegexes"])"), {}},
    StoredLockRow{"unknownField", QByteArray(R"({"lockedFields":["customRegexes","x"]})"), {}},
    StoredLockRow{"regexes", QByteArray(R"({"lockedFields":["customRegexes"]})"), {PolicyField::customRegexes}}),
    test::rowName);

TEST(PolicyLockTest, StoredDataReadsBack)
{
    const PolicyLock lock{{PolicyField::customTerms, PolicyField::allowlist}};
    EXPECT_EQ(lock.storedData(), QByteArray(R"({"lockedFields":["customTerms","allowlist"]})"));
    EXPECT_EQ(PolicyLock::fromStoredData(lock.storedData()), lock);
}

struct SourceRow
{
    const char *name;
    const char *stored;
    PolicySource expected;
};

class StoredPolicySource : public ::testing::TestWithParam<SourceRow> {};

TEST_P(StoredPolicySource, OnlyExactRawValuesLeaveLocal)
{
    EXPECT_EQ(storedPolicySource(QString::fromLatin1(GetParam().stored)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, StoredPolicySource, ::testing::Values(
    SourceRow{"managed", "managed", PolicySource::managed},
    SourceRow{"imported", "imported", PolicySource::imported},
    SourceRow{"empty", "", PolicySource::local},
    SourceRow{"capitalised", "Managed", PolicySource::local}),
    test::rowName);

} // namespace
