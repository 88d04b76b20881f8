#include "app/commands/command_bus.h"
#include "app/window/main_menus.h"
#include "app/window/review_actions.h"

#include "support/temp_settings.h"
#include "support/window_activation.h"
#include "x11/support/other_x_client.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

const QColor windowColour(0x20, 0xc0, 0x60);

/// The pixels of `image` that are not `colour`.
int pixelsOtherThan(const QImage &image, const QColor &colour)
{
    int other = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            other += image.pixel(x, y) != colour.rgb();
    }
    return other;
}

// The main window's menus on the X server, over a window painted one plain colour:
// Capture Entire Screen chosen from the Capture menu starts the capture (asks for it on
// the bus, where the capture tool is started at once) only once the menu is off the
// screen, the window painted again where the menu was, so that the screenshot does not
// show the menu.
TEST(CaptureMenu, TheCaptureStartsOnceTheMenuIsOffTheScreen)
{
    TempSettings settings;
    CommandBus commands;
    QMainWindow window;
    auto *painted = new QWidget;
    painted->setAutoFillBackground(true);
    QPalette palette = painted->palette();
    palette.setColor(QPalette::Window, windowColour);
    painted->setPalette(palette);
    window.setCentralWidget(painted);
    new MainMenus(window, *settings, commands, *new ReviewActions(&window), {[] {}, [] {}, [] {}, {}, [] {}, {}});
    window.resize(900, 700);
    ASSERT_TRUE(showActive(window));

    OtherXClient other;
    const int menusShownBefore = other.viewableOverrideRedirectWindows(); // a window manager has its own
    QRect menuArea;
    int menusShownAtCapture = -1;
    QImage screenAtCapture;
    commands.observe(commands::velmoraCaptureRequested, &window, [&](VelmoraCaptureMode) {
        menusShownAtCapture = other.viewableOverrideRedirectWindows();
        screenAtCapture = other.screenArea(menuArea);
    });

    QAction *screen = window.findChild<QAction *>(QStringLiteral("capture-screen-menu-item"));
    ASSERT_NE(screen, nullptr);
    QMenu *menu = qobject_cast<QMenu *>(screen->parent());
    ASSERT_NE(menu, nullptr);
    window.menuBar()->setActiveAction(menu->menuAction());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    ASSERT_EQ(other.viewableOverrideRedirectWindows(), menusShownBefore + 1);
    // Where the menu covers the window, which shows its colour there once the menu is gone.
    menuArea = menu->geometry().intersected(QRect(painted->mapToGlobal(QPoint(0, 0)), painted->size()));
    ASSERT_FALSE(menuArea.isEmpty());
    ASSERT_GT(pixelsOtherThan(other.screenArea(menuArea), windowColour), 0) << "the menu is not on the screen";

    menu->setActiveAction(screen);
    QTest::keyClick(menu, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return menusShownAtCapture >= 0; }, 5000));
    EXPECT_EQ(menusShownAtCapture, menusShownBefore) << "the menu was still mapped";
    ASSERT_EQ(screenAtCapture.size(), menuArea.size());
    EXPECT_EQ(pixelsOtherThan(screenAtCapture, windowColour), 0) << "the screen still showed the menu";
}

} // namespace
} // namespace velmora::test
