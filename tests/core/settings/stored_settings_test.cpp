#include "core/settings/stored_settings.h"
#include "support/event_loop.h"
#include "support/file_bytes.h"
#include "support/file_size_limit.h"
#include "support/temp_settings.h"

#include <QFile>
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

// A full disk: the file stays as it was, and the change waits for the save after the
// next change, which writes both once there is room again.
TEST(StoredSettingsTest, ASaveTheDiskCannotHoldKeepsTheOldFileAndTheChange)
{
    test::TempSettings settings;
    const QString path = settings.folder() + QStringLiteral("/settings.ini");
    settings->setValue(Setting::policyPresetID, QStringLiteral("finance"));
    ASSERT_TRUE(settings->sync());
    const QByteArray saved = test::fileBytes(path);
    const QString terms = QStringLiteral("Project Falcon ").repeated(100);
    {
        const test::FileSizeLimit fullDisk(1024);
        settings->setValue(Setting::customTermsText, terms);
        test::drainEvents();
    }
    EXPECT_EQ(test::fileBytes(path), saved);
    EXPECT_EQ(settings->value(Setting::customTermsText), terms);

    settings->setValue(Setting::isClipboardProtectionEnabled, true);
    test::drainEvents();
    // Read under another name: the same one would share what the store holds in memory.
    ASSERT_TRUE(QFile::copy(path, path + QStringLiteral(".copy")));
    const auto onDisk = StoredSettings::atIniFile(path + QStringLiteral(".copy"));
    EXPECT_EQ(onDisk->value(Setting::customTermsText), terms);
    EXPECT_TRUE(onDisk->value(Setting::isClipboardProtectionEnabled));
}

} // namespace
