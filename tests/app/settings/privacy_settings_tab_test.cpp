#include "settings_window_fixture.h"

#include "app/commands/command_bus.h"
#include "app/settings/privacy_settings_tab.h"
#include "app/settings/safe_share_history_row.h"
#include "core/history/safe_share_history_store.h"
#include "core/settings/detection_settings.h"
#include "core/settings/stored_settings.h"

#include "support/file_bytes.h"
#include "support/row_name.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

namespace velmora::test {
namespace {

class PrivacyTab : public SettingsWindowFixture
{
protected:
    PrivacyTab() { click(QStringLiteral("settings-tab-privacy")); }

    QString status() { return window().privacyTab()->statusText(); }
    QString path(const char *name) { return m_folder.filePath(QString::fromLatin1(name)); }

private:
    QTemporaryDir m_folder;
};

TEST_F(PrivacyTab, ExportWritesTheStoredPolicyToTheChosenFile)
{
    settings->setValue(Setting::customTermsText, QStringLiteral("Project Falcon"));
    chooser.exportDestination = path("Velmora.velmorapolicy");
    click(QStringLiteral("export-custom-settings-button"));
    EXPECT_EQ(status(), QStringLiteral("Exported."));
    const QJsonObject file = QJsonDocument::fromJson(fileBytes(*chooser.exportDestination)).object();
    EXPECT_EQ(file.value("schemaVersion").toInt(), 2);
    EXPECT_EQ(file.value("customConfiguration").toObject().value("terms").toVariant().toStringList(),
              QStringList{"Project Falcon"});
}

TEST_F(PrivacyTab, AFailedExportSaysSoInsteadOfTheEarlierSuccess)
{
    chooser.exportDestination = path("Velmora.velmorapolicy");
    click(QStringLiteral("export-custom-settings-button"));
    ASSERT_EQ(status(), QStringLiteral("Exported."));
    chooser.exportDestination = path("no-such-folder/Velmora.velmorapolicy");
    click(QStringLiteral("export-custom-settings-button"));
    EXPECT_EQ(status(), QStringLiteral("Export failed. No file was written."));
    EXPECT_FALSE(QFile::exists(*chooser.exportDestination));
}

TEST_F(PrivacyTab, ImportStoresThePolicyAndAnnouncesTheDetectionSettings)
{
    const QString file = path("team.velmorapolicy");
    ASSERT_TRUE(writeBytes(file, R"({"customConfiguration": {"terms": ["Orion"]}, "source": "managed",
                                     "lock": {"lockedFields": ["customTerms"]}})"));
    chooser.importFile = file;
    PostedCommands posted{commands};
    click(QStringLiteral("import-custom-settings-button"));

    EXPECT_EQ(status(), QStringLiteral("Imported."));
    EXPECT_EQ(settings->value(Setting::customTermsText), QStringLiteral("Orion"));
    EXPECT_EQ(settings->value(Setting::policySourceID), QStringLiteral("managed"));
    ASSERT_GE(posted.count(commands::velmoraCustomDetectionSettingsDidChange), 1);
    EXPECT_EQ(posted.userInfos.last().value("customDetectionTerms").toString(), QStringLiteral("Orion"));
    EXPECT_FALSE(window().findChild<QWidget *>(QStringLiteral("custom-terms-editor-input"))->isEnabled());
}

TEST_F(PrivacyTab, AFailedImportSaysSoAndChangesNothing)
{
    chooser.importFile = path("team.velmorapolicy");
    ASSERT_TRUE(writeBytes(*chooser.importFile, R"({"customConfiguration": {}})"));
    click(QStringLiteral("import-custom-settings-button"));
    ASSERT_EQ(status(), QStringLiteral("Imported."));
    settings->setValue(Setting::customTermsText, QStringLiteral("Kept"));

    ASSERT_TRUE(writeBytes(*chooser.importFile, R"({"customConfiguration": {}, "lock": {}})"));
    PostedCommands posted{commands};
    click(QStringLiteral("import-custom-settings-button"));
    EXPECT_EQ(status(), QStringLiteral("Import failed. Settings were not changed."));
    EXPECT_EQ(settings->value(Setting::customTermsText), QStringLiteral("Kept"));
    EXPECT_TRUE(posted.names.isEmpty());
}

TEST_F(PrivacyTab, ACancelledChooserChangesNothing)
{
    settings->setValue(Setting::customTermsText, QStringLiteral("Kept"));
    PostedCommands posted{commands};
    click(QStringLiteral("export-custom-settings-button"));
    click(QStringLiteral("import-custom-settings-button"));
    EXPECT_EQ(chooser.panelsShown, 2);
    EXPECT_TRUE(status().isEmpty());
    EXPECT_EQ(settings->value(Setting::customTermsText), QStringLiteral("Kept"));
    EXPECT_TRUE(posted.names.isEmpty());
}

SafeShareHistoryRecord recordAt(int minute)
{
    SafeShareHistoryRecord record;
    record.id = QUuid::createUuid();
    record.occurredAt = QDateTime(QDate(2024, 3, 1), QTime(10, minute), Qt::UTC);
    record.action = SafeShareAction::exportCleanedImage;
    record.sourceType = SafeShareSourceType::fileImport;
    record.totalFindings = minute;
    return record;
}

TEST_F(PrivacyTab, TheHistoryListsTheEightNewestRecordsAndClearHistoryEmptiesIt)
{
    QList<SafeShareHistoryRecord> records;
    for (int minute = 1; minute <= 12; ++minute)
        records.append(recordAt(minute));
    SafeShareHistoryStore::save(*settings, SafeShareHistoryStore::fromRecords(records));
    // The history is read when the tab is shown.
    click(QStringLiteral("settings-tab-detection"));
    click(QStringLiteral("settings-tab-privacy"));

    const QList<SafeShareHistoryRow *> rows =
        find<QWidget>(QStringLiteral("safe-share-history-list"))->findChildren<SafeShareHistoryRow *>();
    ASSERT_EQ(rows.size(), 8);
    EXPECT_TRUE(rows.first()->accessibleName().contains(QStringLiteral("12 findings")));
    EXPECT_TRUE(rows.last()->accessibleName().contains(QStringLiteral("5 findings")));
    auto *clear = find<QPushButton>(QStringLiteral("clear-safe-share-history-button"));
    EXPECT_TRUE(clear->isEnabled());
    EXPECT_TRUE(find<QWidget>(QStringLiteral("safe-share-history-empty"))->isHidden());

    clear->click();
    EXPECT_FALSE(clear->isEnabled());
    EXPECT_FALSE(find<QWidget>(QStringLiteral("safe-share-history-empty"))->isHidden());
    EXPECT_TRUE(find<QWidget>(QStringLiteral("safe-share-history-list"))->findChildren<SafeShareHistoryRow *>().isEmpty());
    EXPECT_FALSE(settings->contains(Setting::safeShareHistoryStore));
}

struct DetailRow
{
    const char *name;
    std::optional<int> batchItemCount;
    std::optional<QString> policySummary;
    std::optional<QString> outputPath;
    const char *expected;
};

class HistoryDetailLine : public ::testing::TestWithParam<DetailRow> {};

TEST_P(HistoryDetailLine, JoinsWhatIsPresent)
{
    SafeShareHistoryRecord record = recordAt(1);
    record.totalFindings = 1;
    record.includedFindings = 1;
    record.batchItemCount = GetParam().batchItemCount;
    record.policySummary = GetParam().policySummary;
    record.outputPath = GetParam().outputPath;
    EXPECT_EQ(SafeShareHistoryRow::detailLine(record), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, HistoryDetailLine, ::testing::Values(
    DetailRow{"countsOnly", std::nullopt, QString(), std::nullopt,
              "1 findings - 1 included - 0 review - 0 off"},
    DetailRow{"oneImageShowsNoImages", 1, std::nullopt, std::nullopt, "1 findings - 1 included - 0 review - 0 off"},
    DetailRow{"threeImages", 3, QStringLiteral("Finance"), QStringLiteral("/tmp/out"),
              "1 findings - 1 included - 0 review - 0 off - 3 images - Finance - /tmp/out"}),
    rowName);

} // namespace
} // namespace velmora::test
