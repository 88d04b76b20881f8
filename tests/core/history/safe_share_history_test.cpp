#include "core/history/safe_share_history_store.h"

#include "support/row_name.h"
#include "support/temp_settings.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace velmora {
namespace {

SafeShareHistoryRecord recordAt(int minute, SafeShareAction action = SafeShareAction::scan)
{
    SafeShareHistoryRecord record;
    record.id = QUuid::createUuid();
    record.occurredAt = QDateTime(QDate(2024, 3, 1), QTime(10, minute, 0, 250), Qt::UTC);
    record.sourceType = SafeShareSourceType::folderBatch;
    record.action = action;
    record.totalFindings = 4;
    record.includedFindings = 3;
    record.reviewFindings = 1;
    record.offFindings = 1;
    return record;
}

TEST(SafeShareHistoryRecord, SummaryJoinsTheThreeCounts)
{
    EXPECT_EQ(recordAt(0).summary(), QStringLiteral("3 included - 1 review - 1 off"));
}

TEST(SafeShareHistoryRecord, RoundTripsEveryField)
{
    SafeShareHistoryRecord record = recordAt(5, SafeShareAction::batchExport);
    record.policySummary = QStringLiteral("Safe Sharing");
    record.outputPath = QStringLiteral("/tmp/Velmora Cleaned");
    record.batchItemCount = 7;
    EXPECT_EQ(SafeShareHistoryRecord::fromJson(record.toJson()), record);
}

struct DecodeRow
{
    const char *name;
    const char *json;
    bool decodes;
    SafeShareSourceType sourceType = SafeShareSourceType::unknown;
    int totalFindings = 0;
    std::optional<QString> policySummary = std::nullopt;
};

class SafeShareHistoryRecordDecoding : public ::testing::TestWithParam<DecodeRow>
{
};

TEST_P(SafeShareHistoryRecordDecoding, FollowsTheKeyRules)
{
    const DecodeRow &row = GetParam();
    const QJsonObject object = QJsonDocument::fromJson(row.json).object();
    const std::optional<SafeShareHistoryRecord> record = SafeShareHistoryRecord::fromJson(object);
    ASSERT_EQ(record.has_value(), row.decodes);
    if (!record)
        return;
    EXPECT_EQ(record->sourceType, row.sourceType);
    EXPECT_EQ(record->totalFindings, row.totalFindings);
    EXPECT_EQ(record->policySummary, row.policySummary);
}

#define REQUIRED R"("id":"11111111-2222-3333-4444-555555555555","occurredAt":"2024-03-01T10:00:00.000Z","action":"scan")"

INSTANTIATE_TEST_SUITE_P(Rows, SafeShareHistoryRecordDecoding, ::testing::Values(
    DecodeRow{"OnlyRequiredKeysTakeDefaults", "{" REQUIRED "}", true},
    DecodeRow{"NullCountsTakeDefaults", "{" REQUIRED R"(,"totalFindings":null,"policySummary":null)" "}", true},
    DecodeRow{"PresentValuesAreRead", "{" REQUIRED R"(,"sourceType":"capture","totalFindings":4,"policySummary":"Imported policy")" "}", true,
              SafeShareSourceType::capture, 4, QStringLiteral("Imported policy")},
    DecodeRow{"NegativeCountReadsAsZero", "{" REQUIRED R"(,"totalFindings":-3)" "}", true},
    DecodeRow{"CountAsTextFails", "{" REQUIRED R"(,"totalFindings":"4")" "}", false},
    DecodeRow{"FractionalCountFails", "{" REQUIRED R"(,"totalFindings":1.5)" "}", false},
    DecodeRow{"SummaryAsNumberFails", "{" REQUIRED R"(,"policySummary":3)" "}", false},
    DecodeRow{"UnknownSourceTypeFails", "{" REQUIRED R"(,"sourceType":"camera")" "}", false},
    DecodeRow{"MissingIdFails", R"({"occurredAt":"2024-03-01T10:00:00.000Z","action":"scan"})", false},
    DecodeRow{"MissingActionFails", R"({"id":"11111111-2222-3333-4444-555555555555","occurredAt":"2024-03-01T10:00:00.000Z"})", false},
    DecodeRow{"UnreadableDateFails", R"({"id":"11111111-2222-3333-4444-555555555555","occurredAt":"yesterday","action":"scan"})", false}),
    test::rowName);

TEST(SafeShareHistoryStore, BuildingFromAListSortsNewestFirst)
{
    const SafeShareHistoryRecord early = recordAt(1), middle = recordAt(2), late = recordAt(3);
    const SafeShareHistoryStore store = SafeShareHistoryStore::fromRecords({middle, early, late});
    EXPECT_EQ(store.records, (QList<SafeShareHistoryRecord>{late, middle, early}));
}

TEST(SafeShareHistoryStore, InsertPutsTheRecordFirstAndKeepsAtMostTheLimit)
{
    SafeShareHistoryStore store;
    for (int i = 0; i < 55; ++i)
        store.insert(recordAt(i), safeShareHistoryLimit);
    ASSERT_EQ(store.records.size(), 50);
    EXPECT_EQ(store.records.first().occurredAt.time().minute(), 54);
    EXPECT_EQ(store.records.last().occurredAt.time().minute(), 5);
}

TEST(SafeShareHistoryStore, InsertWithANegativeLimitKeepsNothing)
{
    SafeShareHistoryStore store;
    store.insert(recordAt(1), -4);
    EXPECT_TRUE(store.records.isEmpty());
}

TEST(SafeShareHistoryStore, SavedHistoryLoadsBackNewestFirst)
{
    test::TempSettings temporary;
    appendSafeShareHistoryRecord(*temporary, recordAt(1));
    appendSafeShareHistoryRecord(*temporary, recordAt(2, SafeShareAction::copyCleanedPNG));
    const SafeShareHistoryStore loaded = SafeShareHistoryStore::load(*temporary);
    ASSERT_EQ(loaded.records.size(), 2);
    EXPECT_EQ(loaded.records[0].action, SafeShareAction::copyCleanedPNG);
    EXPECT_EQ(loaded.records[1].action, SafeShareAction::scan);
}

TEST(SafeShareHistoryStore, ARecordAppendedAfterAClearDoesNotBringTheOldOnesBack)
{
    test::TempSettings temporary;
    appendSafeShareHistoryRecord(*temporary, recordAt(1));
    appendSafeShareHistoryRecord(*temporary, recordAt(2));
    const SafeShareHistoryStore heldInMemory = SafeShareHistoryStore::load(*temporary);
    ASSERT_EQ(heldInMemory.records.size(), 2);

    clearSafeShareHistory(*temporary);
    EXPECT_TRUE(SafeShareHistoryStore::load(*temporary).records.isEmpty());
    const SafeShareHistoryRecord latest = recordAt(3);
    appendSafeShareHistoryRecord(*temporary, latest);
    const SafeShareHistoryStore after = SafeShareHistoryStore::load(*temporary);
    ASSERT_EQ(after.records.size(), 1);
    EXPECT_EQ(after.records.first().id, latest.id);
}

TEST(SafeShareHistoryStore, AppendingKeepsFiftyRecords)
{
    test::TempSettings temporary;
    for (int i = 0; i < 52; ++i)
        appendSafeShareHistoryRecord(*temporary, recordAt(i));
    EXPECT_EQ(SafeShareHistoryStore::load(*temporary).records.size(), 50);
}

struct StoreRow
{
    const char *name;
    QByteArray data;
    std::optional<int> records; ///< Nothing: the data does not decode.
};

class SafeShareHistoryStoreDecoding : public ::testing::TestWithParam<StoreRow>
{
};

TEST_P(SafeShareHistoryStoreDecoding, FollowsTheKeyRules)
{
    const StoreRow &row = GetParam();
    const std::optional<SafeShareHistoryStore> store = SafeShareHistoryStore::decode(row.data);
    ASSERT_EQ(store.has_value(), row.records.has_value());
    if (store) {
        EXPECT_EQ(store->records.size(), *row.records);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, SafeShareHistoryStoreDecoding, ::testing::Values(
    StoreRow{"EmptyObjectIsAnEmptyStore", "{}", 0},
    StoreRow{"OneRecord", "{\"records\":[{" REQUIRED "}]}", 1},
    StoreRow{"RecordsNotAListFails", R"({"records":{}})", std::nullopt},
    StoreRow{"OneBadRecordFailsTheStore", "{\"records\":[{" REQUIRED "},{\"id\":4}]}", std::nullopt},
    StoreRow{"NotJsonFails", "not json", std::nullopt},
    StoreRow{"EmptyDataFails", "", std::nullopt}),
    test::rowName);

TEST(SafeShareHistoryStore, UnreadableStoredDataLoadsAsEmpty)
{
    test::TempSettings temporary;
    temporary->setValue(Setting::safeShareHistoryStore, QByteArray("{\"records\":5}"));
    EXPECT_TRUE(SafeShareHistoryStore::load(*temporary).records.isEmpty());
}

} // namespace
} // namespace velmora

#include "core/redaction/redaction_plan.h"
#include "support/detection_fixtures.h"

namespace velmora {
namespace {

TEST(SafeShareHistoryRecord, CountsComeFromThePlan)
{
    Detection confident = test::makeFinding({0.1, 0.8, 0.2, 0.05});
    Detection doubtful = test::makeFinding({0.1, 0.5, 0.2, 0.05});
    doubtful.confidence = 0.5;
    Detection off = test::makeFinding({0.1, 0.2, 0.2, 0.05});
    RedactionPlan plan({confident, doubtful, off}, {}, {});
    plan.setActive(false, off.id);
    const QUuid id = QUuid::createUuid();
    const QDateTime when = QDateTime(QDate(2024, 1, 2), QTime(3, 4), Qt::UTC);
    const SafeShareHistoryRecord record = SafeShareHistoryRecord::make(
        id, when, SafeShareSourceType::capture, SafeShareAction::scan, plan, QStringLiteral("Safe Sharing"), {}, {});
    EXPECT_EQ(record.id, id);
    EXPECT_EQ(record.occurredAt, when);
    EXPECT_EQ(record.totalFindings, 3);
    EXPECT_EQ(record.includedFindings, 2);
    EXPECT_EQ(record.reviewFindings, 1);
    EXPECT_EQ(record.offFindings, 1);
    EXPECT_EQ(record.summary(), QStringLiteral("2 included - 1 review - 1 off"));
}

TEST(SafeShareHistoryRecord, AnEmptyPlanCountsNothing)
{
    const SafeShareHistoryRecord record = SafeShareHistoryRecord::make(
        QUuid::createUuid(), QDateTime::currentDateTimeUtc(), SafeShareSourceType::unknown,
        SafeShareAction::copyCleanedPNG, RedactionPlan::empty(), {}, {}, {});
    EXPECT_EQ(record.summary(), QStringLiteral("0 included - 0 review - 0 off"));
    EXPECT_EQ(record.totalFindings, 0);
}

} // namespace
} // namespace velmora
