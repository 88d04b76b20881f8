#include "core/settings/stored_settings.h"
#include "support/event_loop.h"
#include "support/file_bytes.h"
#include "support/file_size_limit.h"
#include "support/row_name.h"
#include "support/temp_settings.h"
#include "support/test_file_system.h"
#include "support/thread_pool_gate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

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
    EXPECT_EQ(settings->saveFailure(), SettingsSaveFailure::other);
}

/// What the settings file `file` holds under `key`, read under another name: the same
/// one would share what a store holds in memory.
QString storedValue(const QString &file, const QString &key)
{
    const QTemporaryDir copies;
    const QString copy = copies.filePath(QStringLiteral("copy.ini"));
    return QFile::copy(file, copy) ? QSettings(copy, QSettings::IniFormat).value(key).toString() : QString();
}

/// Custom terms far larger than the room left on a full disk.
const QString terms = QStringLiteral("Project Falcon\n").repeated(300);

// The thread that changes a setting goes on before the file is written: saves run on the
// settings' own thread, in the order of the changes.
TEST(StoredSettingsTest, SavesRunOnTheirOwnThreadInOrder)
{
    test::TempSettings settings;
    const QString path = settings.folder() + QStringLiteral("/settings.ini");
    test::ThreadPoolGate gate({&settings->saveThread()});
    for (const char *preset : {"finance", "medical", "legal"}) {
        settings->setValue(Setting::policyPresetID, QString::fromLatin1(preset));
        test::drainEvents();
    }
    EXPECT_FALSE(QFileInfo::exists(path));
    gate.open();
    EXPECT_TRUE(settings->sync());
    EXPECT_EQ(storedValue(path, QStringLiteral("redactionPolicyPreset")), QStringLiteral("legal"));
}

// While it lives, nobody can add a file to the folder or replace one: its permissions
// say so, and for root, whom they do not stop, its immutable flag.
struct ReadOnlyFolder
{
    explicit ReadOnlyFolder(const QString &folder)
        : fd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        ::fchmod(fd, 0555);
        setImmutable(::geteuid() == 0);
    }
    ~ReadOnlyFolder()
    {
        setImmutable(false);
        ::fchmod(fd, 0755);
        ::close(fd);
    }
    void setImmutable(bool immutable) const
    {
        int flags = 0;
        ::ioctl(fd, FS_IOC_GETFLAGS, &flags);
        flags = immutable ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    const int fd;
};

enum class Disk { writable, readOnly, full };

struct SettingsPathRow
{
    const char *name;
    bool isLinked; ///< The settings path is a link into a dotfiles folder.
    Disk disk;     ///< Of the folder the settings file is in, while the change is saved.
    std::optional<SettingsSaveFailure> failure;
    test::TestFileSystem fileSystem = test::TestFileSystem::local; ///< Of the folder the settings file is in.
};

const QByteArray oldSettings = "[General]\nvelmoraPolicySource=imported\n";
/// What saves killed part-way leave beside a settings file, older versions' included.
const QStringList leftovers{".Velmora.conf.kept-1f2e3d4c", ".Velmora.conf.check-3d4c5b6a7f8e9d0c",
                            ".Velmora.conf.saving-5b6a7f8e9d0c1b2a", ".Velmora.conf.saving-5b6a7f8e9d0c1b2a.lock",
                            ".Velmora.conf.saving-5b6a7f8e9d0c1b2a.Xy12Zq"};

// A settings folder beside the user's dotfiles folder; the settings path is a file, or a
// link to one in the dotfiles. The folder of each holds what killed saves left. The
// folder the settings file is in may be on a stick (FAT, exFAT), where the machine can
// mount one.
class SettingsPaths : public ::testing::TestWithParam<SettingsPathRow>
{
protected:
    void SetUp() override
    {
        if (GetParam().fileSystem != test::TestFileSystem::local) {
            m_stick.emplace(GetParam().fileSystem);
            if (m_stick->path().isEmpty())
                GTEST_SKIP() << "This machine cannot mount the stick's file system.";
        }
        ASSERT_TRUE(QDir(config()).mkpath(QStringLiteral(".")) && QDir(dotfiles()).mkpath(QStringLiteral(".")));
        ASSERT_TRUE(test::writeBytes(file(), oldSettings) && test::writeBytes(config() + "/.Velmora.conf.bak", "own"));
        if (GetParam().isLinked) {
            const QByteArray target = QFile::encodeName(QDir(config()).relativeFilePath(file()));
            ASSERT_EQ(::symlink(target.constData(), QFile::encodeName(path()).constData()), 0);
        }
        for (const QString &name : leftovers)
            ASSERT_TRUE(test::writeBytes(config() + '/' + name, "") && test::writeBytes(folder() + '/' + name, ""));
    }

    QString config() const { return onStick(false) ? m_stick->path() : m_root.filePath(QStringLiteral("config")); }
    QString dotfiles() const { return onStick(true) ? m_stick->path() : m_root.filePath(QStringLiteral("dotfiles")); }
    QString folder() const { return GetParam().isLinked ? dotfiles() : config(); }
    QString path() const { return config() + QStringLiteral("/Velmora.conf"); }
    QString file() const { return folder() + QStringLiteral("/Velmora.conf"); }

private:
    bool onStick(bool dotfiles) const { return m_stick && GetParam().isLinked == dotfiles; }

    QTemporaryDir m_root;
    std::optional<test::TestFileSystemFolder> m_stick;
};

// A change is saved whole through the settings path, or the old file stays and the
// store says why, once, holding the change for the next save; the link stays a link,
// and nothing is left beside the file.
TEST_P(SettingsPaths, AChangeIsSavedWholeOrHeldAndTheFailureTold)
{
    const SettingsPathRow &row = GetParam();
    const auto settings = StoredSettings::atIniFile(path());
    int told = 0;
    QObject::connect(settings.get(), &StoredSettings::saveFailureChanged, [&told] { ++told; });
    {
        std::optional<ReadOnlyFolder> readOnly;
        std::optional<test::FileSizeLimit> fullDisk;
        if (row.disk == Disk::readOnly)
            readOnly.emplace(folder());
        if (row.disk == Disk::full)
            fullDisk.emplace(1024); // Room for QSettings' lock file, not for the terms.
        settings->setValue(Setting::customTermsText, terms);
        test::drainEvents();
        EXPECT_EQ(settings->sync(), !row.failure); // The save the change asked for, then one more.
    }
    EXPECT_EQ(settings->saveFailure(), row.failure);
    EXPECT_EQ(told, row.failure ? 1 : 0);
    EXPECT_EQ(settings->value(Setting::customTermsText), terms);
    EXPECT_EQ(QFileInfo(path()).isSymLink(), row.isLinked);
    EXPECT_EQ(test::entriesOf(config()), (QStringList{".Velmora.conf.bak", "Velmora.conf"}));
    EXPECT_EQ(test::entriesOf(dotfiles()), row.isLinked ? QStringList{"Velmora.conf"} : QStringList());
    EXPECT_EQ(storedValue(file(), QStringLiteral("customDetectionTerms")), row.failure ? QString() : terms);
    EXPECT_EQ(test::fileBytes(file()) == oldSettings, row.failure.has_value());

    // Once the disk takes them, the next change saves both, and the failure is gone.
    settings->setValue(Setting::isClipboardProtectionEnabled, true);
    EXPECT_TRUE(settings->sync());
    EXPECT_EQ(settings->saveFailure(), std::nullopt);
    EXPECT_EQ(told, row.failure ? 2 : 0);
    EXPECT_EQ(storedValue(file(), QStringLiteral("customDetectionTerms")), terms);
    EXPECT_EQ(storedValue(file(), QStringLiteral("clipboardProtectionEnabled")), QStringLiteral("true"));
    EXPECT_EQ(QFileInfo(path()).isSymLink(), row.isLinked);
}

// Someone else changes the file while the store runs, as a dotfiles checkout does (a new
// file renamed over it): a change of a term, of the preset the store changes too, a key
// added and one removed. The save writes only the store's own change over that (the
// store's preset wins), or, while saves fail, leaves the file as it was edited; and once
// the save lands the store takes up the rest, announcing each key.
TEST_P(SettingsPaths, ASaveWritesItsOwnChangesOverWhatSomeoneElseChanged)
{
    const SettingsPathRow &row = GetParam();
    const auto settings = StoredSettings::atIniFile(path());
    QStringList announced;
    QObject::connect(settings.get(), &StoredSettings::changed, [&announced](const QString &key) { announced.append(key); });
    const QByteArray edited = "[General]\ncustomDetectionTerms=Project Heron\nredactionPolicyPreset=medical\n"
                              "clipboardProtectionEnabled=true\n";
    const QString checkout = folder() + QStringLiteral("/Velmora.conf.new");
    ASSERT_TRUE(test::writeBytes(checkout, edited));
    ASSERT_EQ(std::rename(QFile::encodeName(checkout).constData(), QFile::encodeName(file()).constData()), 0);
    {
        std::optional<ReadOnlyFolder> readOnly;
        std::optional<test::FileSizeLimit> fullDisk;
        if (row.disk == Disk::readOnly)
            readOnly.emplace(folder());
        if (row.disk == Disk::full)
            fullDisk.emplace(64); // Less than the edited file.
        settings->setValue(Setting::policyPresetID, QStringLiteral("legal"));
        test::drainEvents();
        EXPECT_EQ(settings->sync(), !row.failure);
    }
    EXPECT_EQ(test::fileBytes(file()) == edited, row.failure.has_value());
    EXPECT_EQ(settings->value(Setting::customTermsText), row.failure ? QString() : QStringLiteral("Project Heron"));

    EXPECT_TRUE(settings->sync());
    EXPECT_EQ(storedValue(file(), QStringLiteral("customDetectionTerms")), QStringLiteral("Project Heron"));
    EXPECT_EQ(storedValue(file(), QStringLiteral("redactionPolicyPreset")), QStringLiteral("legal"));
    EXPECT_EQ(storedValue(file(), QStringLiteral("clipboardProtectionEnabled")), QStringLiteral("true"));
    EXPECT_EQ(storedValue(file(), QStringLiteral("velmoraPolicySource")), QString());
    EXPECT_EQ(settings->value(Setting::customTermsText), QStringLiteral("Project Heron"));
    EXPECT_EQ(settings->value(Setting::policyPresetID), QStringLiteral("legal"));
    EXPECT_TRUE(settings->value(Setting::isClipboardProtectionEnabled));
    EXPECT_EQ(settings->value(Setting::policySourceID), QStringLiteral("local"));
    EXPECT_EQ(announced, (QStringList{"redactionPolicyPreset", "clipboardProtectionEnabled", "customDetectionTerms",
                                      "velmoraPolicySource"}));
    EXPECT_EQ(QFileInfo(path()).isSymLink(), row.isLinked);
}

INSTANTIATE_TEST_SUITE_P(Rows, SettingsPaths, ::testing::Values(
    SettingsPathRow{"Plain", false, Disk::writable, std::nullopt},
    SettingsPathRow{"Linked", true, Disk::writable, std::nullopt},
    SettingsPathRow{"ReadOnly", false, Disk::readOnly, SettingsSaveFailure::folderReadOnly},
    SettingsPathRow{"LinkedIntoAReadOnlyFolder", true, Disk::readOnly, SettingsSaveFailure::folderReadOnly},
    SettingsPathRow{"FullDisk", false, Disk::full, SettingsSaveFailure::diskFull},
    SettingsPathRow{"LinkedOnAFullDisk", true, Disk::full, SettingsSaveFailure::diskFull},
    SettingsPathRow{"OnAFatStick", false, Disk::writable, std::nullopt, test::TestFileSystem::fatThroughFuse},
    SettingsPathRow{"LinkedOntoAFatStick", true, Disk::writable, std::nullopt, test::TestFileSystem::fatThroughFuse},
    SettingsPathRow{"OnAnExfatStick", false, Disk::writable, std::nullopt, test::TestFileSystem::exfatThroughFuse}),
    test::rowName);

// Saves killed by SIGKILL part-way: the file is whole, and what they left beside it is
// gone once the settings are read again.
TEST(StoredSettingsTest, ASaveKilledPartWayLeavesTheFileWholeAndNoCopies)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Velmora.conf"));
    int saved[2];
    ASSERT_EQ(::pipe(saved), 0);
    const pid_t saver = ::fork();
    while (saver == 0) { // Saves over and over, telling the test after each one.
        saveSettingsFile({path, QSettings::IniFormat, {{QStringLiteral("customDetectionTerms"), terms}}, {}});
        if (::write(saved[1], "s", 1) != 1)
            ::_exit(1);
    }
    char byte = 0;
    for (int save = 0; save < 3 && ::read(saved[0], &byte, 1) == 1; ++save) {
    }
    ::kill(saver, SIGKILL);
    ::waitpid(saver, nullptr, 0);
    ::close(saved[0]);
    ::close(saved[1]);

    const auto settings = StoredSettings::atIniFile(path);
    EXPECT_EQ(test::entriesOf(folder.path()), QStringList{"Velmora.conf"});
    EXPECT_EQ(settings->value(Setting::customTermsText), terms);
}

} // namespace
