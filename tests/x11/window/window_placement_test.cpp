#include "app/settings/settings_window_host.h"
#include "app/window/main_menus.h"
#include "app/shell/velmora_app.h"
#include "app/window/help_sheet_dialog.h"
#include "core/settings/stored_settings.h"

#include "support/event_loop.h"
#include "support/process_waits.h"
#include "support/row_name.h"
#include "support/scoped_environment.h"
#include "support/temp_settings.h"
#include "support/window_waits.h"

#include <QAction>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

/// The window `_NET_SUPPORTING_WM_CHECK` names on `window` ("-root" or an id), or nothing.
QByteArray supportingWindow(const QString &window)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {window == QStringLiteral("-root") ? window : QStringLiteral("-id"), window,
                                          QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    if (!waitUntilEnded(xprop) || xprop.exitCode() != 0)
        return {};
    const QByteArray answer = xprop.readAllStandardOutput();
    const qsizetype at = answer.indexOf("window id # ");
    return at < 0 ? QByteArray() : answer.mid(at + 12).trimmed();
}

/// Whether a window manager holds the display: the root names a window that names itself.
/// A window manager that ended leaves the root's property behind, naming a window that
/// is gone.
bool windowManagerRuns()
{
    const QByteArray id = supportingWindow(QStringLiteral("-root"));
    return !id.isEmpty() && supportingWindow(QString::fromLatin1(id)) == id;
}

/// Whether the window manager has also set up its screens: it tells the work area last.
/// A window mapped before then, while it holds the display but does not yet handle
/// windows, is never shown.
bool windowManagerReady()
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_WORKAREA")});
    return waitUntilEnded(xprop) && xprop.exitCode() == 0 && xprop.readAllStandardOutput().contains("=") && windowManagerRuns();
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
            ASSERT_TRUE(waitUntilStarted(m_windowManager)) << "openbox is not installed";
            ASSERT_TRUE(waitUntil(windowManagerReady, "openbox to manage the display"));
        } else if (!GetParam().windowManager && managed) {
            GTEST_SKIP() << "another window manager holds the display";
        }
        m_settings->setValue(Setting::didCompleteOnboarding, true);
    }
    void TearDown() override
    {
        if (m_windowManager.state() != QProcess::NotRunning) {
            m_windowManager.terminate();
            waitUntilEnded(m_windowManager);
            // The X server lets go of a window manager's hold on the display only once it
            // has closed its connection, a little after the process ended: a window mapped
            // before then waits for a manager that is gone, and is never shown.
            waitUntil([] { return !windowManagerRuns(); }, "openbox to let go of the display");
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
    ASSERT_TRUE(waitUntilExposed(main));
    // Away from the screen's top left corner, where a window placed nowhere in particular
    // lands, as far as the screen leaves room.
    const QRect screen = main->screen()->availableGeometry();
    const QPoint before = main->frameGeometry().topLeft();
    const QPoint corner(screen.right() - main->frameGeometry().width() + 1,
                        screen.bottom() - main->frameGeometry().height() + 1);
    if (corner.x() > before.x() || corner.y() > before.y()) {
        main->move(corner);
        ASSERT_TRUE(waitUntil([&] { return main->frameGeometry().topLeft() != before; }, "the main window to move"));
    }

    main->menus()->action(QStringLiteral("settings-menu-item"))->trigger();
    SettingsWindow *settings = app.settingsWindow().window();
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(waitUntilExposed(settings));
    EXPECT_TRUE(waitUntil([&] { return bool(standsOver(*settings, *main)); }, "the settings window to stand over the main window"))
        << standsOver(*settings, *main).message();
    settings->close();

    main->menus()->action(QStringLiteral("show-quick-start-menu-item"))->trigger();
    auto *sheet = main->findChild<HelpSheetDialog *>(QStringLiteral("help-sheet"));
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(waitUntilExposed(sheet));
    EXPECT_TRUE(waitUntil([&] { return bool(standsOver(*sheet, *main)); }, "the Quick Start sheet to stand over the main window"))
        << standsOver(*sheet, *main).message();
}

TEST_P(WindowPlacement, TheFirstStartsQuickStartOpensOverTheMainWindow)
{
    m_settings->setValue(Setting::didCompleteOnboarding, false);
    VelmoraApp app(*m_settings);
    app.start();
    MainWindow *main = app.mainWindow();
    HelpSheetDialog *sheet = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        sheet = main->findChild<HelpSheetDialog *>(QStringLiteral("help-sheet"));
        return sheet && sheet->isVisible();
    }, "the Quick Start sheet to open"));
    ASSERT_TRUE(waitUntilExposed(sheet));
    EXPECT_TRUE(waitUntil([&] { return bool(standsOver(*sheet, *main)); }, "the Quick Start sheet to stand over the main window"))
        << standsOver(*sheet, *main).message();
}

INSTANTIATE_TEST_SUITE_P(Rows, WindowPlacement, ::testing::Values(
    PlacementRow{"bareServer", false},
    PlacementRow{"windowManager", true}), rowName);

} // namespace
} // namespace velmora::test
