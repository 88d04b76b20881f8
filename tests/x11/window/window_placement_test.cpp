#include "app/settings/settings_window_host.h"
#include "app/window/main_menus.h"
#include "app/shell/velmora_app.h"
#include "app/window/help_sheet_dialog.h"
#include "core/settings/stored_settings.h"

#include "support/row_name.h"
#include "support/scoped_environment.h"
#include "support/temp_settings.h"

#include <QAction>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

constexpr int timeoutMs = 10000;

/// Whether a window manager holds the display.
bool windowManagerRuns()
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    return xprop.waitForFinished(timeoutMs) && xprop.readAllStandardOutput().contains("window id");
}

/// Whether `window` stands centred over `anchor` (both are smaller than the screen).
::testing::AssertionResult standsOver(const QWidget &window, const QWidget &anchor)
{
    // A window manager may keep the window a frame's width from where it was asked to be.
    constexpr int slack = 40;
    const QPoint offset = window.frameGeometry().center() - anchor.frameGeometry().center();
    if (std::abs(offset.x()) <= slack && std::abs(offset.y()) <= slack)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "centred at " << window.frameGeometry().center().x() << ","
                                         << window.frameGeometry().center().y() << ", the main window at "
                                         << anchor.frameGeometry().center().x() << ","
                                         << anchor.frameGeometry().center().y();
}

struct PlacementRow
{
    const char *name;
    bool windowManager;
};

// The settings window and the Quick Start sheet open over the main window, wherever it
// stands, on a bare X server and under a window manager.
class WindowPlacement : public ::testing::TestWithParam<PlacementRow>
{
protected:
    void SetUp() override
    {
        const bool managed = windowManagerRuns();
        if (GetParam().windowManager && !managed) {
            m_windowManager.start(QStringLiteral("openbox"), {});
            ASSERT_TRUE(m_windowManager.waitForStarted(timeoutMs)) << "openbox is not installed";
            ASSERT_TRUE(QTest::qWaitFor(windowManagerRuns, timeoutMs));
        } else if (!GetParam().windowManager && managed) {
            GTEST_SKIP() << "another window manager holds the display";
        }
        m_settings->setValue(Setting::didCompleteOnboarding, true);
    }
    void TearDown() override
    {
        if (m_windowManager.state() != QProcess::NotRunning) {
            m_windowManager.terminate();
            m_windowManager.waitForFinished(timeoutMs);
        }
    }

    ScopedEnvironmentVariable m_testMode{"VELMORA_UI_TEST_MODE", "1"};
    ScopedEnvironmentVariable m_location{"VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/usr/bin/velmora"};
    TempSettings m_settings;
    QProcess m_windowManager;
};

TEST_P(WindowPlacement, SettingsAndQuickStartOpenOverTheMainWindow)
{
    VelmoraApp app(*m_settings);
    app.start();
    MainWindow *main = app.mainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
    // Away from the screen's top left corner, where a window placed nowhere in particular
    // lands, as far as the screen leaves room.
    const QRect screen = main->screen()->availableGeometry();
    const QPoint before = main->frameGeometry().topLeft();
    const QPoint corner(screen.right() - main->frameGeometry().width() + 1,
                        screen.bottom() - main->frameGeometry().height() + 1);
    if (corner.x() > before.x() || corner.y() > before.y()) {
        main->move(corner);
        ASSERT_TRUE(QTest::qWaitFor([&] { return main->frameGeometry().topLeft() != before; }, timeoutMs))
            << "the main window did not move";
    }

    main->menus()->action(QStringLiteral("settings-menu-item"))->trigger();
    SettingsWindow *settings = app.settingsWindow().window();
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(settings));
    EXPECT_TRUE(QTest::qWaitFor([&] { return bool(standsOver(*settings, *main)); }, timeoutMs))
        << standsOver(*settings, *main).message();
    settings->close();

    main->menus()->action(QStringLiteral("show-quick-start-menu-item"))->trigger();
    auto *sheet = main->findChild<HelpSheetDialog *>(QStringLiteral("help-sheet"));
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet));
    EXPECT_TRUE(QTest::qWaitFor([&] { return bool(standsOver(*sheet, *main)); }, timeoutMs))
        << standsOver(*sheet, *main).message();
}

TEST_P(WindowPlacement, TheFirstStartsQuickStartOpensOverTheMainWindow)
{
    m_settings->setValue(Setting::didCompleteOnboarding, false);
    VelmoraApp app(*m_settings);
    app.start();
    MainWindow *main = app.mainWindow();
    HelpSheetDialog *sheet = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        sheet = main->findChild<HelpSheetDialog *>(QStringLiteral("help-sheet"));
        return sheet && sheet->isVisible();
    }, timeoutMs));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet));
    EXPECT_TRUE(QTest::qWaitFor([&] { return bool(standsOver(*sheet, *main)); }, timeoutMs))
        << standsOver(*sheet, *main).message();
}

INSTANTIATE_TEST_SUITE_P(Rows, WindowPlacement, ::testing::Values(
    PlacementRow{"bareServer", false},
    PlacementRow{"windowManager", true}), rowName);

} // namespace
} // namespace velmora::test
