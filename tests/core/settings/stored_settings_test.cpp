#include "core/settings/stored_settings.h"
#include "support/temp_settings.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

TEST(StoredSettingsTest, AnnouncesEachWriteAfterItLanded)
{
    test::TempSettings store;
    QStringList keys;
    QStringList valuesSeen;
    QObject::connect(store.get(), &StoredSettings::changed, [&](const QString &key) {
        keys.append(key);
        valuesSeen.append(store->string(key, QStringLiteral("<missing>")));
    });

    store->setValue(QStringLiteral("redactionPolicyPreset"), QStringLiteral("finance"));
    store->setValue(QStringLiteral("screenshotWatchEnabled"), true);
    store->remove(QStringLiteral("redactionPolicyPreset"));

    EXPECT_EQ(keys, (QStringList{"redactionPolicyPreset", "screenshotWatchEnabled", "redactionPolicyPreset"}));
    EXPECT_EQ(valuesSeen, (QStringList{"finance", "true", "<missing>"}));
    EXPECT_FALSE(store->contains(QStringLiteral("redactionPolicyPreset")));
}

TEST(StoredSettingsTest, WritesReachTheFileAndReadBackTyped)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("settings.ini"));
    const auto store = StoredSettings::atIniFile(path);
    const QByteArray json = QJsonDocument(QJsonObject{{"terms", "x"}}).toJson(QJsonDocument::Compact);
    store->setValue(QStringLiteral("customDetectionTerms"), QStringLiteral("alpha\nbeta"));
    store->setValue(QStringLiteral("clipboardProtectionEnabled"), true);
    store->setValue(QStringLiteral("detectorCategoryPreferences"), json);
    ASSERT_TRUE(store->sync());

    // A second store over the same file: what the next start of the application reads.
    const auto reopened = StoredSettings::atIniFile(path);
    EXPECT_EQ(reopened->string(QStringLiteral("customDetectionTerms")), QStringLiteral("alpha\nbeta"));
    EXPECT_TRUE(reopened->boolean(QStringLiteral("clipboardProtectionEnabled")));
    EXPECT_EQ(reopened->data(QStringLiteral("detectorCategoryPreferences")), json);
}

TEST(StoredSettingsTest, MissingKeysGiveTheirDefaults)
{
    test::TempSettings store;
    EXPECT_FALSE(store->contains(QStringLiteral("nothing")));
    EXPECT_EQ(store->string(QStringLiteral("nothing"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_TRUE(store->boolean(QStringLiteral("nothing"), true));
    EXPECT_TRUE(store->data(QStringLiteral("nothing")).isEmpty());
}

TEST(StoredSettingsTest, SyncReportsAStoreThatCannotBeWritten)
{
    // The file's path is taken by a folder: no write can succeed, whoever runs the test.
    QTemporaryDir folder;
    const auto settings = StoredSettings::atIniFile(folder.path());
    settings->setValue(QStringLiteral("key"), 1);
    EXPECT_FALSE(settings->sync());
}

} // namespace
