#include "app/commands/command_bus.h"
#include "app/window/main_menus.h"
#include "app/window/review_actions.h"

#include "support/event_loop.h"
#include "support/temp_settings.h"
#include "support/window_waits.h"
#include "x11/support/other_x_client.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

#include <xcb/xcb.h>

namespace velmora::test {
namespace {

/// How many pixels of `image` are not `colour`.
int pixelsOtherThan(const QImage &image, QRgb colour)
{
    int other = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            other += image.pixel(x, y) != colour;
    }
    return other;
}

/// While it lives, the application never hears that a part of its windows was exposed:
/// as on a busy machine, where the server's exposures come back after the screenshot.
class ExposuresWithheld : public QAbstractNativeEventFilter
{
public:
    ExposuresWithheld() { QCoreApplication::instance()->installNativeEventFilter(this); }
    ~ExposuresWithheld() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        return eventType == "xcb_generic_event_t"
               && (static_cast<xcb_generic_event_t *>(message)->response_type & 0x7f) == XCB_EXPOSE;
    }
};

// The main window's menus on the X server, over a window painted one colour: Capture
// Entire Screen chosen from the Capture menu asks for the capture (whose tool starts at
// once) only when the menu is off the screen and the window painted again in its place,
// even when the exposures of what the menu covered have not come back yet.
TEST(CaptureMenu, TheCaptureStartsOnceTheMenuIsOffTheScreen)
{
    TempSettings settings;
    CommandBus commands;
    QMainWindow window;
    auto *painted = new QWidget;
    painted->setStyleSheet(QStringLiteral("background: #20c060"));
    window.setCentralWidget(painted);
    new MainMenus(window, *settings, commands, *new ReviewActions(&window), {[] {}, [] {}, [] {}, {}, [] {}, {}});
    window.resize(900, 700);
    ASSERT_TRUE(showActive(window));

    OtherXClient other;
    const int menusBefore = other.viewableOverrideRedirectWindows(); // a window manager has its own
    QRect menuArea;
    int menusAtCapture = -1;
    QImage screenAtCapture;
    commands.observe(commands::velmoraCaptureRequested, &window, [&](VelmoraCaptureMode) {
        menusAtCapture = other.viewableOverrideRedirectWindows();
        screenAtCapture = other.screenArea(menuArea);
    });
    QAction *screen = window.findChild<QAction *>(QStringLiteral("capture-screen-menu-item"));
    auto *menu = qobject_cast<QMenu *>(screen->parent());
    window.menuBar()->setActiveAction(menu->menuAction());
    ASSERT_TRUE(waitUntilExposed(menu));
    menuArea = menu->geometry().intersected(QRect(painted->mapToGlobal(QPoint(0, 0)), painted->size()));
    // Exposed is not yet drawn: the menu's pixels reach the server after its first paint.
    ASSERT_TRUE(waitUntil([&] { return pixelsOtherThan(other.screenArea(menuArea), qRgb(0x20, 0xc0, 0x60)) > 0; },
                          "the menu to show on the screen"));

    const ExposuresWithheld late;
    menu->setActiveAction(screen);
    QTest::keyClick(menu, Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return menusAtCapture >= 0; }, "the capture to start"));
    EXPECT_EQ(menusAtCapture, menusBefore) << "the menu was still mapped";
    EXPECT_EQ(pixelsOtherThan(screenAtCapture, qRgb(0x20, 0xc0, 0x60)), 0) << "the screen still showed the menu";
}

} // namespace
} // namespace velmora::test
