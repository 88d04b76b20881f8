#include "app/panes/image_review_view.h"
#include "e2e/window/window_on_x.h"

#include "support/event_loop.h"
#include "support/image_fixtures.h"
#include "support/process_waits.h"
#include "support/window_waits.h"
#include "support/xdotool.h"
#include "velmora_process.h"

#include <QFont>
#include <QPainter>
#include <QProcess>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

namespace velmora::test {
namespace {

// The application's own objects over the real engine, on the X server: an image goes
// in through the window's intake, the engine scans it, and the window shows the result.
using ApplicationWindowTest = WindowOnX;

TEST_F(ApplicationWindowTest, OpenedScreenshotIsScannedAndShown)
{
    QTemporaryDir dir;
    QImage screenshot(1000, 300, QImage::Format_RGB32);
    screenshot.fill(QColor(0xf4, 0xf5, 0xf7));
    {
        QPainter painter(&screenshot);
        QFont font = testing::installedFont(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(15);
        painter.setFont(font);
        painter.setPen(QColor(0x1d, 0x1f, 0x23));
        painter.drawText(30, 60, QStringLiteral("Account owner"));
        painter.drawText(30, 100, QStringLiteral("Send the invoice to billing.team@example.org by Friday"));
    }
    const QString path = dir.filePath(QStringLiteral("invoice.png"));
    ASSERT_TRUE(screenshot.save(path));
    m_window.show();
    ASSERT_TRUE(waitUntilExposed(&m_window));

    m_session.review().openDroppedImages({{QUrl::fromLocalFile(path)}, {}});
    ASSERT_TRUE(waitUntil([&] { return state().image().size() == screenshot.size() && !state().isChecking(); },
                          "the scan to end"));

    QStringList labels;
    for (const RedactionPlanEntry &entry : state().redactionPlan().entries())
        labels << entry.detection.label;
    EXPECT_TRUE(labels.contains(QStringLiteral("Email"))) << labels.join(", ").toStdString();

    auto *stack = m_content->findChild<QStackedWidget *>();
    ASSERT_NE(stack, nullptr);
    auto *canvas = qobject_cast<ImageReviewView *>(stack->currentWidget());
    ASSERT_NE(canvas, nullptr);
    EXPECT_TRUE(canvas->isVisible());
    // The canvas draws the screenshot: its middle shows the page's own colour.
    const QImage drawn = canvas->grab().toImage();
    EXPECT_EQ(drawn.pixelColor(drawn.width() / 2, drawn.height() / 2 + 40).rgb(), QColor(0xf4, 0xf5, 0xf7).rgb());
}

// The real executable on the X server, in a home of its own, ended when the test ends.
// The real executable starts on the X server and quits cleanly when asked to.
TEST(ApplicationTest, ExecutableStartsAndQuits)
{
    RunningVelmora velmora;
    ASSERT_TRUE(waitUntilStarted(velmora.process));
    ASSERT_FALSE(velmora.waitForMainWindow().isEmpty());
    velmora.process.terminate();
    ASSERT_TRUE(waitUntilEnded(velmora.process));
    EXPECT_EQ(velmora.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(velmora.process.exitCode(), 0);
}

// At scale 2 a 1920 x 1080 screen is 960 x 540 points: the window fits inside it.
TEST(ApplicationTest, TheWindowFitsTheScreenAtScaleTwo)
{
    RunningVelmora velmora({.environment = {{QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2")}}});
    ASSERT_TRUE(waitUntilStarted(velmora.process));
    const QString window = velmora.waitForMainWindow();
    ASSERT_FALSE(window.isEmpty());
    const QStringList screenSize = xdotoolOutput({QStringLiteral("getdisplaygeometry")}).split(QLatin1Char(' '));
    ASSERT_EQ(screenSize.size(), 2);
    // Where the server has the window, on the root: xdotool counts a window manager's
    // frame twice.
    QRect placed;
    auto fits = [&] {
        QProcess xwininfo;
        xwininfo.start(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window});
        waitUntilEnded(xwininfo);
        QMap<QString, int> values;
        for (const QString &line : QString::fromUtf8(xwininfo.readAllStandardOutput()).split(QLatin1Char('\n')))
            values.insert(line.section(QLatin1Char(':'), 0, 0).trimmed(), line.section(QLatin1Char(':'), 1).trimmed().toInt());
        placed = QRect(values.value(QStringLiteral("Absolute upper-left X")), values.value(QStringLiteral("Absolute upper-left Y")),
                       values.value(QStringLiteral("Width")), values.value(QStringLiteral("Height")));
        return !placed.isEmpty() && QRect(0, 0, screenSize[0].toInt(), screenSize[1].toInt()).contains(placed);
    };
    // A window manager frames the window after it appears.
    EXPECT_TRUE(waitUntil(fits, "the window to fit the screen"))
        << "at " << placed.x() << "," << placed.y() << " sized " << placed.width() << "x" << placed.height();
}

} // namespace
} // namespace velmora::test
