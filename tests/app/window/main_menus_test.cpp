#include "app/commands/command_bus.h"
#include "app/commands/command_names.h"
#include "app/window/main_menus.h"

#include "support/temp_settings.h"

#include <QAction>
#include <QMainWindow>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct MenuRow {
    const char *objectName;
    QLatin1StringView command;
};

class MenuCommandTest : public ::testing::TestWithParam<MenuRow> {};

TEST_P(MenuCommandTest, EachItemPostsItsCommand)
{
    test::TempSettings settings;
    QMainWindow window;
    MainMenus menus(window, *settings, {[] {}, [] {}, [] {}, {}, [] {}, [] {}});
    QStringList posted;
    QObject context;
    QObject::connect(&CommandBus::instance(), &CommandBus::posted, &context,
                     [&](const QString &name) { posted.append(name); });
    QAction *action = menus.action(QString::fromLatin1(GetParam().objectName));
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isEnabled());
    action->trigger();
    EXPECT_EQ(posted, QStringList{QString(GetParam().command)});
}

INSTANTIATE_TEST_SUITE_P(Rows, MenuCommandTest, ::testing::Values(
    MenuRow{"paste-image-menu-item", commands::velmoraImportClipboardImage},
    MenuRow{"close-review-menu-item", commands::velmoraCloseCurrentReview},
    MenuRow{"toggle-preview-menu-item", commands::velmoraToggleOutputPreview},
    MenuRow{"copy-cleaned-menu-item", commands::velmoraCopyCleanedImage},
    MenuRow{"export-cleaned-menu-item", commands::velmoraExportCleanedImage},
    MenuRow{"redact-all-menu-item", commands::velmoraRedactAllFindings},
    MenuRow{"make-all-visible-menu-item", commands::velmoraMakeAllFindingsVisible},
    MenuRow{"delete-manual-menu-item", commands::velmoraDeleteSelectedManualRedaction},
    MenuRow{"undo-manual-menu-item", commands::velmoraUndoManualEdit},
    MenuRow{"redo-manual-menu-item", commands::velmoraRedoManualEdit},
    MenuRow{"help-center-menu-item", commands::velmoraShowHelpCenter},
    MenuRow{"show-quick-start-menu-item", commands::velmoraShowOnboarding},
    MenuRow{"capture-area-menu-item", commands::velmoraCaptureRequested}),
    [](const auto &info) {
        std::string name = info.param.objectName;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

TEST(MainMenusTest, CaptureShortcutsFollowTheStoredChoicesAndSkipSharedOnes)
{
    test::TempSettings settings;
    QMainWindow window;
    MainMenus menus(window, *settings, {[] {}, [] {}, [] {}, {}, [] {}, [] {}});
    EXPECT_EQ(menus.action("capture-area-menu-item")->shortcut(), QKeySequence("Alt+Shift+1"));
    EXPECT_EQ(menus.action("capture-screen-menu-item")->shortcut(), QKeySequence("Alt+Shift+3"));

    settings->setValue(Setting::screenShortcutID, "optionShift1");
    menus.refreshCaptureShortcuts();
    EXPECT_TRUE(menus.action("capture-area-menu-item")->shortcut().isEmpty());
    EXPECT_TRUE(menus.action("capture-screen-menu-item")->shortcut().isEmpty());
    EXPECT_EQ(menus.action("capture-window-menu-item")->shortcut(), QKeySequence("Alt+Shift+2"));
}

TEST(MainMenusTest, UpdatesItemOnlyWithAFeed)
{
    test::TempSettings settings;
    QMainWindow without;
    MainMenus plain(without, *settings, {[] {}, [] {}, [] {}, {}, [] {}, {}});
    EXPECT_EQ(plain.action("check-for-updates-menu-item"), nullptr);
    QMainWindow with;
    MainMenus updating(with, *settings, {[] {}, [] {}, [] {}, [] {}, [] {}, {}});
    EXPECT_NE(updating.action("check-for-updates-menu-item"), nullptr);
}

TEST(MainMenusTest, SettingsItemOnlyWithAWayToTheWindowAndOnCtrlComma)
{
    test::TempSettings settings;
    QMainWindow without;
    MainMenus plain(without, *settings, {[] {}, [] {}, [] {}, {}, [] {}, {}});
    EXPECT_EQ(plain.action("settings-menu-item"), nullptr);
    QMainWindow with;
    int opened = 0;
    MainMenus menus(with, *settings, {[] {}, [] {}, [] {}, {}, [] {}, [&] { ++opened; }});
    QAction *item = menus.action("settings-menu-item");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Settings…"));
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
    item->trigger();
    EXPECT_EQ(opened, 1);
}

TEST(MainMenusTest, EachKeyIsRegisteredOnce)
{
    test::TempSettings settings;
    QMainWindow window;
    MainMenus menus(window, *settings, {[] {}, [] {}, [] {}, {}, [] {}, [] {}});
    QHash<QKeySequence, int> uses;
    for (QAction *action : window.findChildren<QAction *>()) {
        for (const QKeySequence &key : action->shortcuts())
            ++uses[key];
    }
    for (auto it = uses.cbegin(); it != uses.cend(); ++it)
        EXPECT_EQ(it.value(), 1) << it.key().toString().toStdString();
    EXPECT_EQ(menus.action("delete-manual-menu-item")->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_Backspace)}));
}

} // namespace
