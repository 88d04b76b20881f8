#include "app/commands/command_bus.h"
#include "app/kit/symbol_icon.h"
#include "app/review/review_controller.h"
#include "app/shell/system_platform.h"
#include "app/window/content_view.h"
#include "app/window/main_window.h"
#include "app/window/window_session.h"
#include "core/settings/stored_settings.h"

#include "support/event_loop.h"
#include "support/image_fixtures.h"
#include "support/scoped_environment.h"
#include "support/temp_settings.h"
#include "support/window_waits.h"
#include "support/xclip.h"
#include "support/xdotool.h"

#include <QClipboard>
#include <QFont>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

const QColor paper(0xff, 0xff, 0xff);
const QColor ink(0x1d, 0x4e, 0xd8);

// A window of another kind on the screen, showing an e-mail address in large type.
class SecretWindow : public QWidget
{
public:
    SecretWindow()
    {
        setWindowTitle(QStringLiteral("Invoice"));
        // At the foot of any screen of 1280 x 800 or more, over whatever is there.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        setGeometry(screen.right() - 640, screen.bottom() - 220, 600, 160);
    }
    /// Where the address is drawn, in this window's coordinates.
    QRect secretRect() const { return QRect(24, 40, 552, 64); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), paper);
        QFont font = testing::installedFont(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(34);
        painter.setFont(font);
        painter.setPen(ink);
        painter.drawText(secretRect(), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("billing.team@example.org"));
    }
};

int countPixels(const QImage &image, const QRect &area, const QColor &colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y).rgb() == colour.rgb() ? 1 : 0;
    }
    return count;
}

// The whole road on the X server: the screen hot key starts maim, the engine scans the
// screenshot, and AutoClean copies the cleaned PNG, which another X client reads back
// with the secret's pixels filled.
TEST(CaptureHotKeyTest, ScreenHotKeyWithAutoCleanCopyLeavesACleanedPngOnTheClipboard)
{
    ScopedEnvironmentVariable testMode{"VELMORA_UI_TEST_MODE", "1"};
    ScopedEnvironmentVariable location{"VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/usr/bin/velmora"};
    SymbolIcon::setUpTheme();
    TempSettings settings;
    settings->setValue(Setting::captureOutputModeID, QStringLiteral("copyCleanedPNG"));
    settings->setValue(Setting::captureOutputSafetyModeID, QStringLiteral("autoCleanEverything"));
    // No Quick Start sheet: a window manager raises the main window with it, over the secret.
    settings->setValue(Setting::didCompleteOnboarding, true);

    SystemPlatform platform;
    CommandBus commands;
    WindowSession session(*settings, commands, platform.services(NotificationCenter::none()));
    auto *content = new ContentView(session);
    MainWindow window({*settings, commands, {}, [] { return true; }, [] {}, {}}, content);
    // Velmora in front: its receipt is the banner, not a notification.
    ASSERT_TRUE(showActive(window));
    ASSERT_EQ(settings->value(Setting::captureShortcutRegistrationStatus), QStringLiteral("Capture shortcuts are active."));

    SecretWindow secret;
    secret.show();
    secret.raise();
    ASSERT_TRUE(waitUntilExposed(&secret));
    const QRect secretOnScreen(secret.mapToGlobal(secret.secretRect().topLeft()), secret.secretRect().size());
    const QPoint paperOnScreen = secret.mapToGlobal(QPoint(8, 8));

    ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("alt+shift+3")}));
    const ReviewState &state = content->session().review().state();
    // The display may be shared: whatever the clipboard held before, wait until it holds
    // the PNG that Velmora put there.
    QClipboard *clipboard = QGuiApplication::clipboard();
    ASSERT_TRUE(waitUntil([&] {
        return (clipboard->ownsClipboard() && clipboard->mimeData()->hasFormat(QStringLiteral("image/png")))
               || state.errorText().has_value();
    }, "the cleaned capture on the clipboard")) << state.reviewStatusNote().toStdString();
    ASSERT_EQ(state.errorText(), std::nullopt) << state.errorText()->toStdString();
    EXPECT_EQ(state.reviewStatusNote(), QStringLiteral("Capture scanned locally. Cleaned PNG copied to clipboard."));
    EXPECT_TRUE(content->session().review().banner().text().value_or(QString()).startsWith(QStringLiteral("Cleaned screenshot copied")));

    // What another application pastes.
    const QImage copied = QImage::fromData(xclipRead(QStringLiteral("image/png")), "PNG");
    ASSERT_FALSE(copied.isNull());
    ASSERT_TRUE(copied.rect().contains(secretOnScreen));
    EXPECT_EQ(countPixels(copied, secretOnScreen, ink), 0) << "no ink of the address is left";
    EXPECT_GT(countPixels(copied, secretOnScreen, Qt::black), secretOnScreen.width() * 8);
    EXPECT_EQ(copied.pixelColor(paperOnScreen).rgb(), paper.rgb());
}

} // namespace
} // namespace velmora::test
