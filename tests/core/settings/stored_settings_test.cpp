#include "core/settings/stored_settings.h"
#include "support/temp_settings.h"

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
        valuesSeen.append(store->contains(Setting::policyPresetID) ? store->value(Setting::policyPresetID)
                                                                   : QStringLiteral("<missing>"));
    });

    store->setValue(Setting::policyPresetID, QStringLiteral("finance"));
    store->setValue(Setting::isClipboardProtectionEnabled, true);
    store->remove(Setting::policyPresetID);

    EXPECT_EQ(keys, (QStringList{"redactionPolicyPreset", "clipboardProtectionEnabled", "redactionPolicyPreset"}));
    EXPECT_EQ(valuesSeen, (QStringList{"finance", "finance", "<missing>"}));
    EXPECT_FALSE(store->contains(Setting::policyPresetID));
}

TEST(StoredSettingsTest, ARemovedSettingReadsItsDefaultAgain)
{
    test::TempSettings store;
    store->setValue(Setting::policySourceID, QStringLiteral("managed"));
    store->remove(Setting::policySourceID);
    EXPECT_EQ(store->value(Setting::policySourceID), QStringLiteral("local"));
}

TEST(StoredSettingsTest, SyncReportsAStoreThatCannotBeWritten)
{
    // The file's path is taken by a folder: no write can succeed, whoever runs the test.
    QTemporaryDir folder;
    const auto settings = StoredSettings::atIniFile(folder.path());
    settings->setValue(Setting::isClipboardProtectionEnabled, true);
    EXPECT_FALSE(settings->sync());
}

} // namespace
