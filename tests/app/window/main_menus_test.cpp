#include "app/commands/command_bus.h"
#include "app/window/main_menus.h"
#include "app/window/review_actions.h"

#include "support/event_loop.h"
#include "support/row_name.h"
#include "support/temp_settings.h"

#include <QAction>
#include <QMainWindow>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

// Menu bars, each over a fresh window with its review actions.
class MainMenusTest : public ::testing::Test
{
protected:
    MainMenus &menus(MainMenus::Handlers handlers = {[] {}, [] {}, [] {}, {}, [] {}, [] {}})
    {
        window = std::make_unique<QMainWindow>();
        actions = new ReviewActions(window.get());
        return *new MainMenus(*window, *settings, commands, *actions, std::move(handlers));
    }

    test::TempSettings settings;
    CommandBus commands;
    std::unique_ptr<QMainWindow> window;
    ReviewActions *actions = nullptr;
};

struct MenuRow {
    const char *objectName;
    const char *command;
};

class MenuCommandTest : public MainMenusTest, public ::testing::WithParamInterface<MenuRow> {};

TEST_P(MenuCommandTest, EachItemPostsItsCommand)
{
    QAction *action = menus().action(QString::fromLatin1(GetParam().objectName));
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isEnabled());
    QStringList posted;
    QObject::connect(&commands, &CommandBus::posted, window.get(), [&](const QString &name) { posted.append(name); });
    action->trigger();
    test::drainEvents(); // a capture is asked for once the menu is off the screen
    EXPECT_EQ(posted, QStringList{QString::fromLatin1(GetParam().command)});
}

INSTANTIATE_TEST_SUITE_P(Rows, MenuCommandTest, ::testing::Values(
    MenuRow{"help-center-menu-item", "velmoraShowHelpCenter"},
    MenuRow{"show-quick-start-menu-item", "velmoraShowOnboarding"},
    MenuRow{"capture-area-menu-item", "velmoraCaptureRequested"}),
    [](const auto &info) {
        std::string name = info.param.objectName;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

struct ReviewCommandRow
{
    const char *name; ///< The command's name, which is the action's object name.
    QAction *const ReviewActions::*action;
    const char *title;
};

class ReviewCommandTest : public MainMenusTest, public ::testing::WithParamInterface<ReviewCommandRow> {};

TEST_P(ReviewCommandTest, EachCommandIsFoundByItsNameAsTheSharedActionInAMenu)
{
    MainMenus &bar = menus();
    QAction *shared = actions->*GetParam().action;
    EXPECT_EQ(bar.action(QString::fromLatin1(GetParam().name)), shared);
    EXPECT_EQ(shared->text(), QString::fromUtf8(GetParam().title));
    EXPECT_FALSE(shared->associatedObjects().isEmpty()) << "shown in a menu";
}

INSTANTIATE_TEST_SUITE_P(Rows, ReviewCommandTest, ::testing::Values(
    ReviewCommandRow{"velmoraCloseCurrentReview", &ReviewActions::closeReview, "Close Current Review"},
    ReviewCommandRow{"velmoraImportClipboardImage", &ReviewActions::pasteImage, "Paste Image"},
    ReviewCommandRow{"velmoraToggleOutputPreview", &ReviewActions::togglePreview, "Toggle Output Preview"},
    ReviewCommandRow{"velmoraExportCleanedImage", &ReviewActions::exportCleaned, "Export Cleaned Copy"},
    ReviewCommandRow{"velmoraCopyCleanedImage", &ReviewActions::copyCleaned, "Copy Cleaned PNG"},
    ReviewCommandRow{"velmoraRedactAllFindings", &ReviewActions::redactAll, "Redact All Findings"},
    ReviewCommandRow{"velmoraMakeAllFindingsVisible", &ReviewActions::makeAllVisible, "Make All Findings Visible"},
    ReviewCommandRow{"velmoraDeleteSelectedManualRedaction", &ReviewActions::deleteSelected,
                     "Delete Selected Manual Redaction"},
    ReviewCommandRow{"velmoraUndoManualEdit", &ReviewActions::undo, "Undo Manual Edit"},
    ReviewCommandRow{"velmoraRedoManualEdit", &ReviewActions::redo, "Redo Manual Edit"}),
    test::rowName);

TEST_F(MainMenusTest, CaptureShortcutsFollowTheStoredChoicesAndSkipSharedOnes)
{
    MainMenus &bar = menus();
    EXPECT_EQ(bar.action("capture-area-menu-item")->shortcut(), QKeySequence("Alt+Shift+1"));
    EXPECT_EQ(bar.action("capture-screen-menu-item")->shortcut(), QKeySequence("Alt+Shift+3"));

    settings->setValue(Setting::screenShortcutID, "optionShift1");
    test::drainEvents();
    EXPECT_TRUE(bar.action("capture-area-menu-item")->shortcut().isEmpty());
    EXPECT_TRUE(bar.action("capture-screen-menu-item")->shortcut().isEmpty());
    EXPECT_EQ(bar.action("capture-window-menu-item")->shortcut(), QKeySequence("Alt+Shift+2"));
}

TEST_F(MainMenusTest, UpdatesItemOnlyWithAFeed)
{
    EXPECT_EQ(menus({[] {}, [] {}, [] {}, {}, [] {}, {}}).action("check-for-updates-menu-item"), nullptr);
    EXPECT_NE(menus({[] {}, [] {}, [] {}, [] {}, [] {}, {}}).action("check-for-updates-menu-item"), nullptr);
}

TEST_F(MainMenusTest, SettingsItemOnlyWithAWayToTheWindowAndOnCtrlComma)
{
    EXPECT_EQ(menus({[] {}, [] {}, [] {}, {}, [] {}, {}}).action("settings-menu-item"), nullptr);
    int opened = 0;
    QAction *item = menus({[] {}, [] {}, [] {}, {}, [] {}, [&] { ++opened; }}).action("settings-menu-item");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Settings…"));
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
    item->trigger();
    EXPECT_EQ(opened, 1);
}

TEST_F(MainMenusTest, EachKeyIsRegisteredOnce)
{
    MainMenus &bar = menus();
    QHash<QKeySequence, int> uses;
    for (QAction *action : window->findChildren<QAction *>()) {
        for (const QKeySequence &key : action->shortcuts())
            ++uses[key];
    }
    for (auto it = uses.cbegin(); it != uses.cend(); ++it)
        EXPECT_EQ(it.value(), 1) << it.key().toString().toStdString();
    EXPECT_EQ(bar.action("velmoraDeleteSelectedManualRedaction")->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_Backspace)}));
}

} // namespace
