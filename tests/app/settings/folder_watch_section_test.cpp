#include "app/protection/screenshot_watch_folder_store.h"
#include "app/settings/folder_watch_section.h"
#include "app/settings/protection_settings_tab.h"

#include "settings_window_fixture.h"
#include "support/event_loop.h"
#include "support/row_name.h"

#include <QCheckBox>
#include <QLabel>
#include <QTemporaryDir>

namespace velmora::test {
namespace {

class FolderWatchSettings : public SettingsWindowFixture
{
protected:
    FolderWatchSettings() { click(QStringLiteral("settings-tab-protection")); }

    FolderWatchSection &section() { return *window().protectionTab()->folderWatch(); }
    QCheckBox *toggle() { return find<QCheckBox>(QStringLiteral("screenshot-watch-enable-toggle")); }
    QString summary() { return find<QLabel>(QStringLiteral("screenshot-watch-folder-summary"))->text(); }
    void chooseFolder()
    {
        chooser.folder = folder.path();
        click(QStringLiteral("screenshot-watch-choose-folder-button"));
    }

    QTemporaryDir folder;
};

TEST_F(FolderWatchSettings, WithoutAFolderTheToggleAndStopAreDisabled)
{
    EXPECT_FALSE(toggle()->isEnabled());
    EXPECT_FALSE(find(QStringLiteral("screenshot-watch-stop-button"))->isEnabled());
    EXPECT_TRUE(summary().startsWith(QStringLiteral("Choose Desktop")));
}

TEST_F(FolderWatchSettings, ARefusedEnableShowsTheStoredValueAgain)
{
    section().setScreenshotWatchEnabled(true);
    EXPECT_FALSE(toggle()->isChecked());
    EXPECT_FALSE(settings->value(Setting::isScreenshotWatchEnabled));
    EXPECT_EQ(section().statusText(), QStringLiteral("Choose a folder before enabling watch."));
}

TEST_F(FolderWatchSettings, ChoosingAFolderTurnsTheWatchOn)
{
    chooseFolder();
    EXPECT_EQ(settings->value(Setting::screenshotWatchFolderPath), QDir(folder.path()).absolutePath());
    EXPECT_TRUE(settings->value(Setting::isScreenshotWatchEnabled));
    EXPECT_TRUE(toggle()->isChecked());
    EXPECT_TRUE(toggle()->isEnabled());
    EXPECT_EQ(summary(), QStringLiteral("Watching: ") + QDir(folder.path()).dirName());
    EXPECT_EQ(section().statusText(), QStringLiteral("Watching %1.").arg(QDir(folder.path()).dirName()));
    ASSERT_EQ(chooser.folderPanels.size(), 1);
    EXPECT_EQ(chooser.folderPanels[0].title, QStringLiteral("Choose Folder to Watch"));
    EXPECT_EQ(chooser.folderPanels[0].prompt, QStringLiteral("Watch Folder"));
    drainEvents();
    EXPECT_EQ(section().statusText(),
              QStringLiteral("Screenshot watch enabled. Velmora will notify you when sensitive data is found."));
    EXPECT_FALSE(section().showsNotificationSettingsRecovery());
}

TEST_F(FolderWatchSettings, ACancelledPanelChangesNothing)
{
    click(QStringLiteral("screenshot-watch-desktop-button"));
    EXPECT_EQ(chooser.folderPanels.size(), 1);
    EXPECT_EQ(chooser.folderPanels[0].title, QStringLiteral("Watch Desktop"));
    EXPECT_TRUE(section().statusText().isEmpty());
    EXPECT_TRUE(settings->value(Setting::screenshotWatchFolderPath).isEmpty());
}

TEST_F(FolderWatchSettings, AFolderThatCannotBeStoredSaysSo)
{
    chooser.folder = folder.filePath(QStringLiteral("missing"));
    click(QStringLiteral("screenshot-watch-screenshots-button"));
    EXPECT_EQ(section().statusText(), QStringLiteral("Could not save folder access. Choose the folder again."));
    EXPECT_TRUE(settings->value(Setting::screenshotWatchFolderPath).isEmpty());
}

TEST_F(FolderWatchSettings, PausingKeepsTheFolderAndChecksNothing)
{
    chooseFolder();
    drainEvents();
    notifications.holdsPermissionAnswers = true;
    toggle()->click();
    EXPECT_FALSE(settings->value(Setting::isScreenshotWatchEnabled));
    EXPECT_EQ(section().statusText(), QStringLiteral("Screenshot watch paused."));
    EXPECT_TRUE(summary().startsWith(QStringLiteral("Paused: ")));
    EXPECT_TRUE(notifications.heldAnswers.isEmpty());
}

TEST_F(FolderWatchSettings, AnEmptyDisplayNameShowsThePath)
{
    settings->setValue(Setting::screenshotWatchFolderPath, QStringLiteral("/srv/shots"));
    EXPECT_EQ(summary(), QStringLiteral("Paused: /srv/shots"));
}

TEST_F(FolderWatchSettings, StopForgetsTheFolderAndKeepsTheRecoveryButton)
{
    notifications.permission = NotificationPermission::denied;
    chooseFolder();
    drainEvents();
    ASSERT_TRUE(section().showsNotificationSettingsRecovery());
    click(QStringLiteral("screenshot-watch-open-notification-settings-button"));
    EXPECT_EQ(desktop.notificationSettingsOpenings, 1);
    click(QStringLiteral("screenshot-watch-stop-button"));
    EXPECT_EQ(section().statusText(), QStringLiteral("Screenshot watch stopped."));
    EXPECT_TRUE(section().showsNotificationSettingsRecovery());
    EXPECT_TRUE(settings->value(Setting::screenshotWatchFolderPath).isEmpty());
    EXPECT_FALSE(toggle()->isEnabled());
}

TEST_F(FolderWatchSettings, ALatePermissionAnswerAfterStopIsDropped)
{
    notifications.holdsPermissionAnswers = true;
    chooseFolder();
    ASSERT_EQ(notifications.heldAnswers.size(), 1);
    click(QStringLiteral("screenshot-watch-stop-button"));
    notifications.heldAnswers[0](NotificationPermission::denied);
    drainEvents();
    EXPECT_EQ(section().statusText(), QStringLiteral("Screenshot watch stopped."));
    EXPECT_FALSE(section().showsNotificationSettingsRecovery());
}

struct PermissionRow
{
    const char *name;
    NotificationPermission permission;
    bool grants;
    const char *status;
    bool recovery;
};

class FolderWatchPermission : public FolderWatchSettings, public ::testing::WithParamInterface<PermissionRow> {};

TEST_P(FolderWatchPermission, TheAnswerSetsTheStatusAndRecovery)
{
    notifications.permission = GetParam().permission;
    notifications.grantsAuthorization = GetParam().grants;
    chooseFolder();
    drainEvents();
    EXPECT_EQ(section().statusText(), QString::fromUtf8(GetParam().status));
    EXPECT_EQ(section().showsNotificationSettingsRecovery(), GetParam().recovery);
}

INSTANTIATE_TEST_SUITE_P(Rows, FolderWatchPermission, ::testing::Values(
    PermissionRow{"authorized", NotificationPermission::authorized, true,
                  "Screenshot watch enabled. Velmora will notify you when sensitive data is found.", false},
    PermissionRow{"provisional", NotificationPermission::provisional, true,
                  "Screenshot watch enabled. Velmora will notify you when sensitive data is found.", false},
    PermissionRow{"undecidedThenGranted", NotificationPermission::notDetermined, true,
                  "Screenshot watch enabled. Velmora will notify you when sensitive data is found.", false},
    PermissionRow{"undecidedThenRefused", NotificationPermission::notDetermined, false,
                  "Screenshot watch enabled. Notifications are off, so check Watched alerts in Velmora or open your "
                  "desktop's notification settings.", true},
    PermissionRow{"denied", NotificationPermission::denied, true,
                  "Screenshot watch enabled. Notifications are off, so check Watched alerts in Velmora or open your "
                  "desktop's notification settings.", true}), rowName);

TEST_F(SettingsWindowFixture, OpeningWithTheWatchOnAFolderChecksThePermission)
{
    QTemporaryDir folder;
    ASSERT_TRUE(saveScreenshotWatchFolder(*settings, folder.path()));
    notifications.permission = NotificationPermission::denied;
    window();
    drainEvents();
    EXPECT_EQ(window().protectionTab()->folderWatch()->statusText(),
              QStringLiteral("Screenshot watch enabled. Notifications are off, so check Watched alerts in Velmora or "
                             "open your desktop's notification settings."));
    EXPECT_TRUE(window().protectionTab()->folderWatch()->showsNotificationSettingsRecovery());
}

TEST_F(FolderWatchSettings, OpeningWithTheWatchOnButNoFolderAsksNothing)
{
    notifications.holdsPermissionAnswers = true;
    settings->setValue(Setting::isScreenshotWatchEnabled, true);
    window().protectionTab()->refreshOnAppear();
    EXPECT_TRUE(notifications.heldAnswers.isEmpty());
}

} // namespace
} // namespace velmora::test
