#include "settings_window_fixture.h"

#include "app/commands/command_bus.h"
#include "app/help/velmora_help_center_view.h"
#include "app/kit/segmented_picker.h"
#include "app/panes/findings_panel.h"
#include "app/review/review_controller.h"
#include "app/settings/detection_settings_tab.h"
#include "app/settings/settings_section_help_button.h"
#include "app/settings/settings_window_host.h"
#include "app/shell/tray_icon.h"
#include "app/shell/velmora_app.h"
#include "app/window/content_view.h"
#include "app/window/help_sheet_host.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"
#include "app/window/window_session.h"
#include "core/settings/stored_settings.h"

#include "app/review/review_fixture.h"
#include "support/fake_clipboard.h"
#include "support/fake_file_dialogs.h"
#include "support/fake_scan_engine.h"
#include "support/manual_clock.h"
#include "support/recording_desktop.h"
#include "support/scoped_environment.h"
#include "support/window_waits.h"

#include <QAction>
#include <QMenu>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

using namespace std::chrono_literals;

namespace velmora::test {
namespace {

TEST_F(SettingsWindowFixture, ShowsItsTabsInOrderAndStartsOnDetection)
{
    auto *picker = find<SegmentedPicker>(QStringLiteral("settings-tab-picker"));
    QStringList titles;
    for (int i = 0; picker->segment(i); ++i)
        titles.append(picker->segment(i)->text());
    EXPECT_EQ(titles, (QStringList{"Detection", "Protection", "Privacy", "Help"}));
    EXPECT_EQ(picker->segment(1)->objectName(), QStringLiteral("settings-tab-protection"));
    EXPECT_EQ(window().selectedTab(), SettingsTab::detection);
    EXPECT_EQ(window().width(), 600);
}

TEST_F(SettingsWindowFixture, OpeningDetectionSettingsFromPrivacyLandsOnDetectionAtTheTop)
{
    window().resize(600, 620);
    QScrollBar *detectionScroll = window().scrollArea(SettingsTab::detection)->verticalScrollBar();
    ASSERT_GT(detectionScroll->maximum(), 0);
    detectionScroll->setValue(detectionScroll->maximum());
    click(QStringLiteral("settings-tab-privacy"));
    ASSERT_EQ(window().selectedTab(), SettingsTab::privacy);
    detectionScroll->setValue(detectionScroll->maximum());

    commands.post(commands::velmoraOpenDetectionSettings);
    EXPECT_EQ(window().selectedTab(), SettingsTab::detection);
    EXPECT_EQ(detectionScroll->value(), 0);
}

TEST_F(SettingsWindowFixture, AComboBoxPopupDoesNotScrollTheFormToTheTop)
{
    window().resize(600, 620);
    QCoreApplication::processEvents();
    QScrollBar *scroll = window().scrollArea(SettingsTab::detection)->verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 120);
    scroll->setValue(120);
    auto *picker = find<QComboBox>(QStringLiteral("policy-preset-picker"));
    picker->showPopup();
    QCoreApplication::processEvents();
    EXPECT_EQ(scroll->value(), 120);
    picker->hidePopup();
    QCoreApplication::processEvents();
    EXPECT_EQ(scroll->value(), 120);
}

TEST_F(SettingsWindowFixture, AnotherWindowBecomingActiveReturnsTheFormToItsTop)
{
    window().resize(600, 620);
    QApplication::setActiveWindow(&window());
    ASSERT_TRUE(waitUntilActive(&window()));
    QScrollBar *scroll = window().scrollArea(SettingsTab::detection)->verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 120);
    scroll->setValue(120);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(waitUntilActive(&other));
    EXPECT_EQ(scroll->value(), 0);
}

TEST_F(SettingsWindowFixture, EveryHelpButtonPostsShowHelpCenter)
{
    const QList<SettingsSectionHelpButton *> buttons = window().findChildren<SettingsSectionHelpButton *>();
    QStringList identifiers;
    PostedCommands posted{commands};
    for (SettingsSectionHelpButton *button : buttons) {
        identifiers.append(button->objectName());
        button->click();
    }
    identifiers.sort();
    EXPECT_EQ(identifiers, (QStringList{"settings-help-allowlist", "settings-help-built-in-detectors",
                                        "settings-help-capture-output", "settings-help-capture-shortcuts",
                                        "settings-help-clipboard-protection",
                                        "settings-help-custom-redactions", "settings-help-help",
                                        "settings-help-policy-preset", "settings-help-portability",
                                        "settings-help-safe-share-history",
                                        "settings-help-screenshot-folder-watch",
                                        "settings-help-screenshot-protection"}));
    EXPECT_EQ(posted.names, QStringList(identifiers.size(), QString(commands::velmoraShowHelpCenter.name)));
}

// The main window's menu item opens the one settings window through the host.
class SettingsMenuItem : public ::testing::Test
{
protected:
    SettingsMenuItem()
    {
        SymbolIcon::setUpTheme();
        // Onboarding done, so that its sheet stays away.
        settings->setValue(Setting::didCompleteOnboarding, true);
        m_content = new ContentView(session);
        mainWindow = std::make_unique<MainWindow>(
            MainWindow::Services{*settings, commands, {}, [] { return true; }, [] {}, [this] { host.open(); }},
            m_content);
    }

    // An installed location, so that the install reminder stays away.
    ScopedEnvironmentVariable testMode{"VELMORA_UI_TEST_MODE", "1"};
    ScopedEnvironmentVariable location{"VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/usr/bin/velmora"};
    TempSettings settings;
    FakeScanEngine engine;
    FakeClipboard clipboard;
    ManualClock clock;
    FakeFileDialogs dialogs;
    RecordingDesktop desktop;
    CommandBus commands;
    SettingsWindowHost host{*settings, commands, std::make_unique<FakePolicyFileChooser>(), [](const QUrl &) {}};
    WindowSession session{*settings, commands,
                          {.scanEngine = engine, .clipboard = clipboard, .clock = clock, .fileDialogs = dialogs, .desktop = desktop}};
    std::unique_ptr<MainWindow> mainWindow;

private:
    ContentView *m_content = nullptr;
};

TEST_F(SettingsMenuItem, CtrlCommaOpensOneWindowAndClosingDeletesIt)
{
    mainWindow->show();
    QApplication::setActiveWindow(mainWindow.get());
    ASSERT_TRUE(waitUntilActive(mainWindow.get()));
    QTest::keyClick(mainWindow->windowHandle(), Qt::Key_Comma, Qt::ControlModifier);
    QPointer<SettingsWindow> first = host.window();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    mainWindow->menus()->action(QStringLiteral("settings-menu-item"))->trigger();
    EXPECT_EQ(host.window(), first);
    EXPECT_EQ(QApplication::topLevelWidgets().count(first.data()), 1);

    first->findChild<QAbstractButton *>(QStringLiteral("settings-tab-help"))->click();
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(first, nullptr);
    host.open();
    ASSERT_NE(host.window(), nullptr);
    EXPECT_EQ(host.window()->selectedTab(), SettingsTab::detection);
}

TEST_F(SettingsMenuItem, TheFindingsPanelOpensTheWindow)
{
    auto *panel = mainWindow->findChild<FindingsPanel *>();
    ASSERT_NE(panel, nullptr);
    emit panel->openDetectionSettingsRequested();
    EXPECT_NE(host.window(), nullptr);
}

template <typename T>
T *findTopLevelChild()
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (T *found = top->findChild<T *>(); found && top->isVisible())
            return found;
    }
    return nullptr;
}

TEST_F(SettingsMenuItem, ASectionHelpButtonShowsTheHelpCentreWhichCanOpenSettings)
{
    host.open();
    host.window()->findChild<SettingsSectionHelpButton *>(QStringLiteral("settings-help-allowlist"))->click();
    const HelpSheetHost &sheets = mainWindow->contentView()->session().helpSheets();
    EXPECT_EQ(sheets.activeHelpSheet(), VelmoraHelpSheet::helpCenter);
    auto *centre = findTopLevelChild<VelmoraHelpCenterView>();
    ASSERT_NE(centre, nullptr);
    EXPECT_NE(centre->findChild<QAbstractButton *>(QStringLiteral("open-settings-from-help-button")), nullptr);
}

TEST_F(SettingsMenuItem, TheApplicationsTrayAndMenuOpenTheSameWindow)
{
    VelmoraApp app(*settings);
    app.start();
    app.tray()->menu()->findChild<QAction *>(QStringLiteral("tray-settings-item"))->trigger();
    QPointer<SettingsWindow> opened = app.settingsWindow().window();
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->isVisible());
    app.mainWindow()->menus()->action(QStringLiteral("settings-menu-item"))->trigger();
    EXPECT_EQ(app.settingsWindow().window(), opened);
}

// The settings window and the main window over a fake engine, on one store and one bus.
TEST_F(SettingsMenuItem, AKeystrokeInTheTermsEditorRescansTheOpenImageAfterTheDelay)
{
    ReviewController &review = mainWindow->contentView()->session().review();
    review.loadBatch({fileItem("one.png")}, QStringLiteral("Image loaded. Scanning on device..."), 0, true);
    finishPoolWork();
    engine.lastCall().finish();
    finishPoolWork();
    ASSERT_EQ(engine.callCount(), 1);
    host.open();

    QTest::keyClick(host.window()->findChild<QPlainTextEdit *>(QStringLiteral("custom-terms-editor-input")), Qt::Key_F);
    EXPECT_EQ(review.state().detectionSettings.customTermsText, QStringLiteral("f"));
    clock.advance(649ms);
    EXPECT_EQ(engine.callCount(), 1);
    clock.advance(1ms);
    EXPECT_EQ(engine.callCount(), 2);
    engine.lastCall().finish();
    drainEvents();
    EXPECT_EQ(host.window()->detectionTab()->statusText(), QStringLiteral("Saved - current image re-scanned."));
}

} // namespace
} // namespace velmora::test
