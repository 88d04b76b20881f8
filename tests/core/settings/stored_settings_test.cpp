#include "core/settings/stored_settings.h"
#include "support/temporary_settings.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

TEST(StoredSettingsTest, AnnouncesEachWriteAfterItLanded)
{
    test::TemporarySettings store;
    QStringList keys;
    QStringList valuesSeen;
    QObject::connect(&store.settings(), &StoredSettings::changed, [&](const QString &key) {
        keys.append(key);
        valuesSeen.append(store.settings().string(key, QStringLiteral("<missing>")));
    });

    store.settings().setValue(QStringLiteral("redactionPolicyPreset"), QStringLiteral("finance"));
    store.settings().setValue(QStringLiteral("screenshotWatchEnabled"), true);
    store.settings().remove(QStringLiteral("redactionPolicyPreset"));

    EXPECT_EQ(keys, (QStringList{"redactionPolicyPreset", "screenshotWatchEnabled", "redactionPolicyPreset"}));
    EXPECT_EQ(valuesSeen, (QStringList{"finance", "true", "<missing>"}));
    EXPECT_FALSE(store.settings().contains(QStringLiteral("redactionPolicyPreset")));
}

TEST(StoredSettingsTest, WritesReachTheFileAndReadBackTyped)
{
    test::TemporarySettings store;
    const QByteArray json = QJsonDocument(QJsonObject{{"terms", "x"}}).toJson(QJsonDocument::Compact);
    store.settings().setValue(QStringLiteral("customDetectionTerms"), QStringLiteral("alpha\nbeta"));
    store.settings().setValue(QStringLiteral("clipboardProtectionEnabled"), true);
    store.settings().setValue(QStringLiteral("detectorCategoryPreferences"), json);
    ASSERT_TRUE(store.settings().sync());

    const auto reopened = store.reopen();
    EXPECT_EQ(reopened->string(QStringLiteral("customDetectionTerms")), QStringLiteral("alpha\nbeta"));
    EXPECT_TRUE(reopened->boolean(QStringLiteral("clipboardProtectionEnabled")));
    EXPECT_EQ(reopened->data(QStringLiteral("detectorCategoryPreferences")), json);
}

TEST(StoredSettingsTest, MissingKeysGiveTheirDefaults)
{
    test::TemporarySettings store;
    EXPECT_FALSE(store.settings().contains(QStringLiteral("nothing")));
    EXPECT_EQ(store.settings().string(QStringLiteral("nothing"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_TRUE(store.settings().boolean(QStringLiteral("nothing"), true));
    EXPECT_TRUE(store.settings().data(QStringLiteral("nothing")).isEmpty());
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
