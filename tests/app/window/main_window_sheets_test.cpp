#include "app/help/keyboard_shortcut_table_view.h"
#include "app/help/velmora_help_center_view.h"
#include "app/help/velmora_onboarding_view.h"
#include "app/window/help_sheet_dialog.h"
#include "app/window/help_sheet_presenter.h"
#include "app/window/main_menus.h"

#include "main_window_fixture.h"
#include "support/event_loop.h"

#include <QAction>
#include <QMessageBox>
#include <QPushButton>

using namespace velmora;
using namespace velmora::test;

// The help sheets over the main window, and the shortcut table against the keys it binds.
namespace {

// The help centre's shortcut table names the keys the window really binds: each row's
// keys belong to the menu item or window-wide action of what the row says.
TEST_F(MainWindowFixture, ShortcutTableMatchesTheBoundKeys)
{
    const QHash<QString, QString> menuItemOfRow{
        {"open", "open-images-menu-item"},           {"close", "velmoraCloseCurrentReview"},
        {"paste", "velmoraImportClipboardImage"},          {"scan", "rescan-menu-item"},
        {"preview", "velmoraToggleOutputPreview"},     {"copy", "velmoraCopyCleanedImage"},
        {"export", "velmoraExportCleanedImage"},      {"capture-area", "capture-area-menu-item"},
        {"capture-window", "capture-window-menu-item"}, {"capture-screen", "capture-screen-menu-item"},
    };
    QList<QKeySequence> windowWide;
    for (const QAction *action : m_window->actions())
        windowWide.append(action->shortcuts());
    ASSERT_EQ(keyboardShortcutRows().size(), 12);
    for (const ShortcutRow &row : keyboardShortcutRows()) {
        QList<QKeySequence> shown;
        for (const QString &keys : row.keys.split(QStringLiteral(" / ")))
            shown.append(QKeySequence::fromString(QString(keys).replace(QLatin1Char('-'), QLatin1Char('+'))));
        if (menuItemOfRow.contains(row.id)) {
            QAction *item = m_window->menus()->action(menuItemOfRow.value(row.id));
            ASSERT_NE(item, nullptr) << row.id.toStdString();
            EXPECT_EQ(item->shortcuts(), shown) << row.id.toStdString();
        } else {
            for (const QKeySequence &keys : shown)
                EXPECT_TRUE(windowWide.contains(keys)) << row.id.toStdString() << " " << keys.toString().toStdString();
        }
    }
}

class FirstStartFixture : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        m_firstStart = true;
        MainWindowFixture::SetUp();
    }

    HelpSheetDialog *sheet() const { return m_content->findChild<HelpSheetPresenter *>()->dialog(); }
};

TEST_F(FirstStartFixture, OnboardingFollowsTheWindowOnTheNextTurn)
{
    m_window->show();
    EXPECT_EQ(sheet(), nullptr);
    m_clock.advance(std::chrono::milliseconds(0));
    ASSERT_NE(sheet(), nullptr);
    EXPECT_NE(sheet()->findChild<VelmoraOnboardingView *>(), nullptr);
    EXPECT_EQ(sheet()->parentWidget(), m_window.get());
}

TEST_F(FirstStartFixture, OnboardingWaitsForTheInstallReminderToBeAnswered)
{
    test::ScopedEnvironmentVariable downloads{"VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/tmp/Downloads/velmora"};
    m_window->show();
    m_clock.advance(std::chrono::milliseconds(0));
    auto *reminder = m_content->findChild<QMessageBox *>(QStringLiteral("install-reminder"));
    ASSERT_NE(reminder, nullptr);
    EXPECT_EQ(sheet(), nullptr);
    reminder->findChild<QPushButton *>(QStringLiteral("install-reminder-not-now-button"))->click();
    test::drainEvents();
    m_clock.advance(std::chrono::milliseconds(0));
    ASSERT_NE(sheet(), nullptr);
    EXPECT_NE(sheet()->findChild<VelmoraOnboardingView *>(), nullptr);
}

TEST_F(FirstStartFixture, HelpMenuItemsPresentTheirSheets)
{
    const struct {
        const char *menuItem;
        bool showsHelpCenter;
    } rows[] = {{"help-center-menu-item", true}, {"show-quick-start-menu-item", false}};
    for (const auto &row : rows) {
        m_window->menus()->action(QLatin1String(row.menuItem))->trigger();
        ASSERT_NE(sheet(), nullptr) << row.menuItem;
        EXPECT_EQ(sheet()->findChild<VelmoraHelpCenterView *>() != nullptr, row.showsHelpCenter) << row.menuItem;
    }
}

} // namespace
