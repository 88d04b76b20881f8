#include "app/commands/command_bus.h"
#include "app/kit/capsule_label.h"
#include "app/kit/symbol_icon.h"
#include "app/protection/protection_runtime.h"
#include "app/protection/screenshot_watch_controller.h"
#include "app/protection/screenshot_watch_folder_store.h"
#include "app/review/review_controller.h"
#include "app/settings/settings_window_host.h"
#include "app/shell/system_platform.h"
#include "app/window/content_view.h"
#include "app/window/main_window.h"
#include "app/window/window_session.h"
#include "core/settings/stored_settings.h"

#include "support/event_loop.h"
#include "support/fake_policy_file_chooser.h"
#include "support/recording_notification_center.h"
#include "support/scoped_environment.h"
#include "support/secret_screenshot.h"
#include "support/temp_settings.h"
#include "support/window_waits.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

// The application's own windows over the real engine and a real folder, on the X
// server, with a "Shots" folder to watch and settings past onboarding.
class FolderWatchSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SymbolIcon::setUpTheme();
        ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Shots")));
        settings->setValue(Setting::didCompleteOnboarding, true);
    }

    ScopedEnvironmentVariable testMode{"VELMORA_UI_TEST_MODE", "1"};
    ScopedEnvironmentVariable location{"VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/usr/bin/velmora"};
    QTemporaryDir folder;
    const QString watched = folder.filePath(QStringLiteral("Shots"));
    TempSettings settings;
};

// A folder chosen in the settings' Folder Watch section starts the main window's watch,
// and a screenshot with a secret saved there is scanned and queued.
TEST_F(FolderWatchSettingsTest, AChosenFolderIsWatchedAndANewScreenshotInItIsScanned)
{
    RecordingNotificationCenter notifications;
    auto chooser = std::make_unique<FakePolicyFileChooser>();
    chooser->folder = watched;
    CommandBus commands;
    SettingsWindowHost host(*settings, commands, std::move(chooser), [](const QUrl &) {}, notifications);
    SystemPlatform platform;
    WindowSession session(*settings, commands, platform.services(notifications));
    auto *content = new ContentView(session);
    MainWindow window({*settings, commands, {}, [] { return true; }, [] {}, [&host] { host.open(); }}, content);
    window.show();
    ASSERT_TRUE(waitUntilExposed(&window));
    ASSERT_FALSE(content->session().screenshotWatch().isRunning());

    host.open();
    ASSERT_NE(host.window(), nullptr);
    ASSERT_TRUE(waitUntilExposed(host.window()));
    host.window()->findChild<QAbstractButton *>(QStringLiteral("settings-tab-protection"))->click();
    auto *choose = host.window()->findChild<QAbstractButton *>(QStringLiteral("screenshot-watch-choose-folder-button"));
    ASSERT_NE(choose, nullptr);
    choose->click();
    EXPECT_TRUE(settings->value(Setting::isScreenshotWatchEnabled));
    ASSERT_TRUE(waitUntil([&] { return content->session().screenshotWatch().isRunning(); }, "the watch to start"));

    const QString saved = folder.filePath(QStringLiteral("secret.png"));
    ASSERT_TRUE(screenshotWithSecret().save(saved));
    ASSERT_TRUE(QFile::copy(saved, watched + QStringLiteral("/secret.png")));

    const ReviewState &state = content->session().review().state();
    ASSERT_TRUE(waitUntil([&] { return !state.watchedScreenshotQueue.items.isEmpty(); }, "the screenshot to be queued"));
    const ReviewIntakeImage &queued = state.watchedScreenshotQueue.items.first();
    EXPECT_EQ(queued.filePath, watched + QStringLiteral("/secret.png"));
    ASSERT_TRUE(queued.plan.has_value());
    QStringList labels;
    for (const RedactionPlanEntry &entry : queued.plan->entries())
        labels << entry.detection.label;
    EXPECT_TRUE(labels.contains(QStringLiteral("Email"))) << labels.join(", ").toStdString();
}

// The watched folder is removed under the running watch (its real inotify watch ends):
// the settings' rail and section and the main window's status line say why the watch
// stopped, and a restart on the missing folder says it could not start.
TEST_F(FolderWatchSettingsTest, AWatchWhoseFolderWentAwaySaysWhyEverywhere)
{
    ASSERT_TRUE(saveScreenshotWatchFolder(*settings, watched));

    ProtectionRuntime runtime;
    RecordingNotificationCenter notifications;
    CommandBus commands;
    SettingsWindowHost host(*settings, commands, std::make_unique<FakePolicyFileChooser>(), [](const QUrl &) {},
                            notifications, DesktopServices::none(), &runtime);
    SystemPlatform platform;
    PlatformServices services = platform.services(notifications);
    services.protectionRuntime = &runtime;
    WindowSession session(*settings, commands, services);
    auto *content = new ContentView(session);
    MainWindow window({*settings, commands, {}, [] { return true; }, [] {}, [&host] { host.open(); }}, content);
    window.show();
    ASSERT_TRUE(waitUntilExposed(&window));
    ASSERT_TRUE(content->session().screenshotWatch().isRunning());
    host.open();
    ASSERT_TRUE(waitUntilExposed(host.window()));
    const auto text = [&host](const char *name) {
        return host.window()->findChild<QLabel *>(QString::fromLatin1(name))->text();
    };
    const auto badge = [&host] {
        return host.window()->findChild<CapsuleLabel *>(QStringLiteral("protection-status-badge-folderWatch"))->text();
    };
    ASSERT_EQ(badge(), QStringLiteral("On"));

    ASSERT_TRUE(QDir(watched).removeRecursively());
    ASSERT_TRUE(waitUntil([&] { return !content->session().screenshotWatch().isRunning(); }, "the watch to stop"));
    const QString moved = QStringLiteral("Screenshot watch stopped because the selected folder moved or was deleted.");
    EXPECT_EQ(badge(), QStringLiteral("Needs setup"));
    EXPECT_EQ(text("protection-status-detail-folderWatch"), moved);
    EXPECT_EQ(text("screenshot-watch-folder-summary"), QStringLiteral("Stopped: Shots"));
    EXPECT_EQ(text("screenshot-watch-status"), moved);
    EXPECT_EQ(window.findChild<QLabel *>(QStringLiteral("review-status-note"))->text(), moved);

    // Switched on again, the watch tries the folder and says it cannot.
    settings->setValue(Setting::isScreenshotWatchEnabled, true);
    drainEvents();
    const QString couldNotStart = QStringLiteral("Screenshot watch could not start. Choose the folder again.");
    EXPECT_EQ(text("protection-status-detail-folderWatch"), couldNotStart);
    EXPECT_EQ(text("screenshot-watch-status"), couldNotStart);
}

} // namespace
} // namespace velmora::test
