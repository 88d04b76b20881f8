#include "app/protection/screen_capture_service.h"

#include "x11/support/other_x_client.h"
#include "support/event_loop.h"
#include "support/window_waits.h"
#include "support/xdotool.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <optional>

namespace velmora::test {
namespace {

// The real capture tool on the X server, choosing by real pointer and key input.
class MaimCaptureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_tool = ScreenCaptureTool::forThisDesktop();
        ASSERT_FALSE(m_tool.executablePath.isEmpty()) << "maim is installed and the suite runs on X11";
        m_tool.temporaryFolder = m_folder.path();
    }

    void start(VelmoraCaptureMode mode)
    {
        ScreenCaptureService(m_tool).capture(mode, m_task, &m_context,
                                             [this](CaptureOutcome outcome) { m_outcome = std::move(outcome); });
    }
    /// Waits until the tool holds the pointer and the keyboard, ready for a selection.
    bool waitForSelection()
    {
        return waitUntil([&] { return m_x.keyboardIsGrabbedElsewhere() && m_x.pointerIsGrabbedElsewhere(); },
                         "the tool to hold the pointer and the keyboard");
    }
    bool waitForOutcome() { return waitUntil([&] { return m_outcome.has_value(); }, "the capture's outcome"); }
    QImage capturedImage() const
    {
        return m_outcome && std::holds_alternative<QString>(*m_outcome) ? QImage(std::get<QString>(*m_outcome), "PNG")
                                                                        : QImage();
    }
    QStringList leftovers() const { return QDir(m_folder.path()).entryList(QDir::Files); }

    QTemporaryDir m_folder;
    ScreenCaptureTool m_tool;
    OtherXClient m_x;
    QObject m_context;
    TaskHandle m_task;
    std::optional<CaptureOutcome> m_outcome;
};

TEST_F(MaimCaptureTest, ScreenGivesAPngOfTheWholeScreen)
{
    start(VelmoraCaptureMode::screen);
    ASSERT_TRUE(waitForOutcome());
    const QImage image = capturedImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QGuiApplication::primaryScreen()->geometry().size());
}

TEST_F(MaimCaptureTest, AreaIsTheDraggedRectangle)
{
    start(VelmoraCaptureMode::area);
    ASSERT_TRUE(waitForSelection());
    // The tool samples the input once a frame: the drag goes on only once it has seen
    // the button go down, which it shows by putting up its overlay.
    const int overlays = m_x.viewableOverrideRedirectWindows();
    ASSERT_TRUE(xdotool({QStringLiteral("mousemove"), QStringLiteral("100"), QStringLiteral("120"),
                         QStringLiteral("mousedown"), QStringLiteral("1")}));
    const bool pressSeen =
        waitUntil([&] { return m_x.viewableOverrideRedirectWindows() > overlays; }, "the tool to show its overlay");
    xdotool({QStringLiteral("mousemove"), QStringLiteral("300"), QStringLiteral("270"), QStringLiteral("mouseup"),
             QStringLiteral("1")});
    ASSERT_TRUE(pressSeen);
    ASSERT_TRUE(waitForOutcome());
    const QImage image = capturedImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_NEAR(image.width(), 200, 2);
    EXPECT_NEAR(image.height(), 150, 2);
}

TEST_F(MaimCaptureTest, WindowIsTheClickedWindow)
{
    QWidget window;
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(0x20, 0xa0, 0x60));
    window.setPalette(palette);
    window.setGeometry(400, 300, 360, 240);
    window.show();
    ASSERT_TRUE(waitUntilExposed(&window));
    const QPoint centre = window.mapToGlobal(window.rect().center());

    start(VelmoraCaptureMode::window);
    ASSERT_TRUE(waitForSelection());
    ASSERT_TRUE(xdotool({QStringLiteral("mousemove"), QString::number(centre.x()), QString::number(centre.y())}));
    // The tool samples the button once a frame and shows nothing while it is down: the
    // click is repeated until one was long enough for it to see.
    ASSERT_TRUE(waitUntil([&] {
        if (m_outcome)
            return true;
        xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
        xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        return false;
    }, "a click the tool sees"));
    const QImage image = capturedImage();
    ASSERT_FALSE(image.isNull());
    // The window itself, with its frame when a window manager draws one.
    EXPECT_GE(image.width(), 360);
    EXPECT_GE(image.height(), 240);
    EXPECT_LT(image.width(), QGuiApplication::primaryScreen()->geometry().width());
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), QColor(0x20, 0xa0, 0x60));
}

TEST_F(MaimCaptureTest, EscapeIsACancelledSelectionWithoutAFile)
{
    start(VelmoraCaptureMode::area);
    ASSERT_TRUE(waitForSelection());
    // Held down until the tool, which samples the keyboard once a frame, has seen it.
    ASSERT_TRUE(xdotool({QStringLiteral("keydown"), QStringLiteral("Escape")}));
    const bool ended = waitForOutcome();
    xdotool({QStringLiteral("keyup"), QStringLiteral("Escape")});
    ASSERT_TRUE(ended);
    ASSERT_TRUE(std::holds_alternative<VelmoraCaptureError>(*m_outcome));
    EXPECT_EQ(std::get<VelmoraCaptureError>(*m_outcome), VelmoraCaptureError::canceled);
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(MaimCaptureTest, CancellingEndsTheToolAndLeavesNoFile)
{
    start(VelmoraCaptureMode::window);
    ASSERT_TRUE(waitForSelection());
    m_task.cancel();
    ASSERT_TRUE(waitForOutcome());
    EXPECT_TRUE(std::holds_alternative<CaptureCancelled>(*m_outcome));
    EXPECT_TRUE(leftovers().isEmpty());
    // The tool let go of the pointer: nobody holds it any more.
    EXPECT_TRUE(waitUntil([&] { return !m_x.pointerIsGrabbedElsewhere(); }, "the tool to let go of the pointer"));
}

} // namespace
} // namespace velmora::test
