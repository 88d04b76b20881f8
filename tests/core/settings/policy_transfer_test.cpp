#include "core/settings/detection_settings.h"
#include "core/settings/policy_transfer.h"
#include "core/settings/stored_settings.h"

#include "support/file_bytes.h"
#include "support/row_name.h"
#include "support/temp_settings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace velmora;

namespace {

const QString teamPolicyPath = QStringLiteral(VELMORA_TEST_DATA_DIR "/settings/team_policy.velmorapolicy");

using Snapshot = std::map<std::string, std::string>;

// Every declared setting as text, absent ones marked: what "nothing changed" compares.
Snapshot storedSnapshot(const StoredSettings &settings)
{
    Snapshot snapshot;
    for (const SettingDeclaration &declared : allSettings()) {
        std::string &entry = snapshot[settingKey(declared).toString().toStdString()];
        entry = "<absent>";
        if (settings.contains(declared))
            std::visit([&](const auto &setting) { entry = QVariant(settings.value(setting)).toString().toStdString(); },
                       declared);
    }
    return snapshot;
}

void fillDetectionSettings(StoredSettings &settings)
{
    settings.setValue(Setting::customTermsText, QStringLiteral("Orion\nProject Falcon"));
    settings.setValue(Setting::customRegexesText, QStringLiteral("TKT-\\d+"));
    settings.setValue(Setting::allowlistText, QStringLiteral("demo@example.com"));
    settings.setValue(Setting::policyPresetID, QStringLiteral("developerDevOps"));
    settings.setValue(Setting::policySourceID, QStringLiteral("imported"));
    settings.setValue(Setting::policyLockData, PolicyLock{{PolicyField::customRegexes}}.storedData());
    DetectorCategoryPreferences preferences;
    preferences.setDisposition(RedactionPolicyDisposition::ignore, DetectorCategory::faces);
    settings.setValue(Setting::detectorCategoryPreferencesData,
                      QJsonDocument(preferences.toJson()).toJson(QJsonDocument::Compact));
}

class TeamPolicyFixture : public ::testing::TestWithParam<bool> {};

// The layout another platform's encoder writes: two-space indentation, " : ", escaped
// slashes, set arrays in any order, an empty array over two lines.
TEST_P(TeamPolicyFixture, ImportsToExactStoredValues)
{
    QByteArray bytes = test::fileBytes(teamPolicyPath);
    ASSERT_FALSE(bytes.isEmpty());
    if (GetParam())
        bytes.prepend("\xEF\xBB\xBF");
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("team.velmorapolicy"));
    ASSERT_TRUE(test::writeBytes(path, bytes));

    test::TempSettings settings;
    ASSERT_TRUE(importPolicySettingsFile(*settings, path));

    EXPECT_EQ(settings->value(Setting::customTermsText), QStringLiteral("Project Falcon\nNightjar"));
    EXPECT_EQ(settings->value(Setting::customRegexesText), QStringLiteral("ACME-\\d{4}\n[A-Z]{3}\\/[0-9]+"));
    EXPECT_EQ(settings->value(Setting::allowlistText),
              QStringLiteral("demo@example.com\nhttps://status.example.com/health"));
    // No preset in the file: the one whose policy matches the file's (finance comes
    // before healthcare, which has the same dispositions).
    EXPECT_EQ(settings->value(Setting::policyPresetID), QStringLiteral("finance"));
    EXPECT_EQ(settings->value(Setting::policySourceID), QStringLiteral("managed"));
    EXPECT_EQ(settings->value(Setting::policyLockData), QByteArray(R"({"lockedFields":["policyPreset","allowlist"]})"));
    const DetectorCategoryPreferences expected = DetectorCategoryPreferences::make(
        {DetectorCategory::faces, DetectorCategory::visualCodes},
        {{DetectorCategory::ipAddresses, RedactionPolicyDisposition::autoRedact},
         {DetectorCategory::faces, RedactionPolicyDisposition::ignore}},
        {{QStringLiteral("JWT"), RedactionPolicyDisposition::needsReview}});
    EXPECT_EQ(settings->value(Setting::detectorCategoryPreferencesData),
              QJsonDocument(expected.toJson()).toJson(QJsonDocument::Compact));
}

INSTANTIATE_TEST_SUITE_P(ByteOrderMark, TeamPolicyFixture, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "withMark" : "withoutMark"; });

TEST(PolicyTransferTest, ExportThenImportIsTheIdentity)
{
    test::TempSettings original;
    fillDetectionSettings(*original);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Velmora.velmorapolicy"));
    ASSERT_TRUE(exportPolicySettingsFile(*original, path, QStringLiteral("1.0.0 (1)")));

    test::TempSettings received;
    ASSERT_TRUE(importPolicySettingsFile(*received, path));
    EXPECT_EQ(storedSnapshot(*received), storedSnapshot(*original));
}

TEST(PolicyTransferTest, TheExportedFileHasSortedKeysAndTheCurrentSchema)
{
    test::TempSettings settings;
    fillDetectionSettings(*settings);
    settings->setValue(Setting::policyPresetID, QString());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("out.velmorapolicy"));
    ASSERT_TRUE(exportPolicySettingsFile(*settings, path, QStringLiteral("1.2.0 (7)")));

    const QJsonObject object = QJsonDocument::fromJson(test::fileBytes(path)).object();
    EXPECT_EQ(object.keys(), (QStringList{"appVersion", "customConfiguration", "lock", "schemaVersion", "source"}));
    EXPECT_EQ(object.value("schemaVersion").toInt(), 2);
    EXPECT_EQ(object.value("appVersion").toString(), "1.2.0 (7)");
    EXPECT_EQ(object.value("source").toString(), "imported");
    EXPECT_EQ(object.value("lock").toObject().value("lockedFields").toArray(), QJsonArray{"customRegexes"});
    EXPECT_EQ(object.value("customConfiguration").toObject().value("terms").toArray(),
              (QJsonArray{"Orion", "Project Falcon"}));
}

struct ExportedPresetRow
{
    const char *name;
    const char *stored;
    std::optional<RedactionPolicyPresetID> exported;
};

class ExportedPreset : public ::testing::TestWithParam<ExportedPresetRow> {};

TEST_P(ExportedPreset, OnlyAnExactRawValueIsWritten)
{
    test::TempSettings settings;
    settings->setValue(Setting::policyPresetID, QString::fromLatin1(GetParam().stored));
    EXPECT_EQ(exportedPolicySettings(*settings, {}).policyPresetID, GetParam().exported);
}

INSTANTIATE_TEST_SUITE_P(Rows, ExportedPreset, ::testing::Values(
    ExportedPresetRow{"currentDefaults", "", std::nullopt},
    ExportedPresetRow{"finance", "finance", RedactionPolicyPresetID::finance},
    ExportedPresetRow{"alias", "supportTicket", std::nullopt}),
    test::rowName);

struct MatchRow
{
    const char *name;
    RedactionPolicyConfiguration configuration;
    const char *expected;
};

class PresetMatching : public ::testing::TestWithParam<MatchRow> {};

TEST_P(PresetMatching, TheFirstPresetWithTheSameDispositions)
{
    EXPECT_EQ(matchingPresetID(GetParam().configuration), QString::fromLatin1(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, PresetMatching, ::testing::Values(
    MatchRow{"finance", RedactionPolicyConfiguration::fromPreset(RedactionPolicyPresetID::finance), "finance"},
    MatchRow{"healthcareMatchesFinanceFirst",
             RedactionPolicyConfiguration::fromPreset(RedactionPolicyPresetID::healthcareRegulated), "finance"},
    MatchRow{"developerDevOps", RedactionPolicyConfiguration::fromPreset(RedactionPolicyPresetID::developerDevOps),
             "developerDevOps"},
    MatchRow{"emptyMap", RedactionPolicyConfiguration{}, ""},
    MatchRow{"onePackOnly", RedactionPolicyConfiguration{{{"pii", RedactionPolicyDisposition::autoRedact}}}, ""}),
    test::rowName);

struct ImportRow
{
    const char *name;
    const char *json;
    const char *presetID;
    const char *sourceID;
};

class AcceptedImport : public ::testing::TestWithParam<ImportRow> {};

TEST_P(AcceptedImport, StoresPresetAndSource)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("in.velmorapolicy"));
    ASSERT_TRUE(test::writeBytes(path, GetParam().json));
    test::TempSettings settings;
    settings->setValue(Setting::policyLockData, PolicyLock{{PolicyField::customTerms}}.storedData());
    ASSERT_TRUE(importPolicySettingsFile(*settings, path));
    EXPECT_EQ(settings->value(Setting::policyPresetID), QString::fromLatin1(GetParam().presetID));
    EXPECT_EQ(settings->value(Setting::policySourceID), QString::fromLatin1(GetParam().sourceID));
    EXPECT_EQ(storedPolicyLock(*settings), PolicyLock{});
}

INSTANTIATE_TEST_SUITE_P(Rows, AcceptedImport, ::testing::Values(
    ImportRow{"onlyTheConfiguration", R"({"customConfiguration": {}})", "", "imported"},
    ImportRow{"alias", R"({"customConfiguration": {}, "policyPresetID": "supportTicket"})", "supportCustomerData",
              "imported"},
    ImportRow{"unknownPresetMatchesNone", R"({"customConfiguration": {}, "policyPresetID": "mystery"})", "",
              "imported"},
    ImportRow{"localBecomesImported", R"({"customConfiguration": {}, "source": "local"})", "", "imported"},
    ImportRow{"managedStays", R"({"customConfiguration": {}, "source": "managed", "lock": null})", "", "managed"}),
    test::rowName);

struct RejectedRow
{
    const char *name;
    QByteArray bytes;
};

class RejectedImport : public ::testing::TestWithParam<RejectedRow> {};

TEST_P(RejectedImport, LeavesEveryStoredKeyUntouched)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("in.velmorapolicy"));
    ASSERT_TRUE(test::writeBytes(path, GetParam().bytes));
    test::TempSettings settings;
    fillDetectionSettings(*settings);
    const Snapshot before = storedSnapshot(*settings);
    QStringList changes;
    QObject::connect(settings.get(), &StoredSettings::changed, [&](const QString &key) { changes.append(key); });

    EXPECT_FALSE(importPolicySettingsFile(*settings, path));
    EXPECT_EQ(storedSnapshot(*settings), before);
    EXPECT_TRUE(changes.isEmpty());
}

QByteArray oversizedButValid()
{
    QByteArray bytes(R"({"customConfiguration": {}})");
    bytes.append(QByteArray(VelmoraPortableSettings::maximumFileSize + 1 - bytes.size(), ' '));
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(Rows, RejectedImport, ::testing::Values(
    RejectedRow{"empty", ""},
    RejectedRow{"notJson", "policy"},
    RejectedRow{"anArray", "[]"},
    RejectedRow{"noConfiguration", R"({"source": "imported"})"},
    RejectedRow{"nullConfiguration", R"({"customConfiguration": null})"},
    RejectedRow{"unknownSource", R"({"customConfiguration": {}, "source": "team"})"},
    RejectedRow{"unknownLockedField", R"({"customConfiguration": {}, "lock": {"lockedFields": ["faces"]}})"},
    RejectedRow{"lockWithoutFields", R"({"customConfiguration": {}, "lock": {}})"},
    RejectedRow{"schemaAsText", R"({"customConfiguration": {}, "schemaVersion": "2"})"},
    RejectedRow{"fractionalSchema", R"({"customConfiguration": {}, "schemaVersion": 2.5})"},
    RejectedRow{"appVersionAsNumber", R"({"customConfiguration": {}, "appVersion": 3})"},
    RejectedRow{"presetAsNumber", R"({"customConfiguration": {}, "policyPresetID": 4})"},
    RejectedRow{"termsAsText", R"({"customConfiguration": {"terms": "Falcon"}})"},
    RejectedRow{"largerThanOneMebibyte", oversizedButValid()}),
    test::rowName);

TEST(PolicyTransferTest, AMissingFileIsAFailedImport)
{
    test::TempSettings settings;
    EXPECT_FALSE(importPolicySettingsFile(*settings, QStringLiteral("/nonexistent/in.velmorapolicy")));
    EXPECT_FALSE(settings->contains(Setting::policySourceID));
}

TEST(PolicyTransferTest, APipeIsRefusedWithoutReadingIt)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("pipe.velmorapolicy"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    test::TempSettings settings;
    // Reading the pipe would wait for a writer for ever.
    EXPECT_FALSE(importPolicySettingsFile(*settings, path));
    EXPECT_FALSE(importPolicySettingsFile(*settings, folder.path()));
    EXPECT_FALSE(settings->contains(Setting::policySourceID));
}

TEST(PolicyTransferTest, AnExportThatCannotBeWrittenSaysSoAndLeavesNoFile)
{
    test::TempSettings settings;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("missing-folder/out.velmorapolicy"));
    EXPECT_FALSE(exportPolicySettingsFile(*settings, path, {}));
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
