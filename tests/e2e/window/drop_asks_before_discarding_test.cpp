#include "app/commands/command_bus.h"
#include "app/kit/symbol_icon.h"
#include "app/review/review_controller.h"
#include "app/shell/system_platform.h"
#include "app/window/content_view.h"
#include "app/window/main_window.h"
#include "app/window/window_session.h"

#include "support/event_loop.h"
#include "support/file_bytes.h"
#include "support/image_bytes.h"
#include "support/row_name.h"
#include "support/scoped_environment.h"
#include "support/temp_settings.h"
#include "support/window_activation.h"

#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

constexpr int scanTimeoutMs = 60000;

struct DropRow
{
    const char *name;
    bool dropsFile; ///< A file from the file manager, else an image dragged out of another application.
};

// The application's window on the X server over the real engine: an image dropped on
// it is scanned and gets a box drawn by hand; a second drop, of a file or of image
// bytes, asks before that box is lost.
class DropAsksBeforeDiscarding : public ::testing::TestWithParam<DropRow>
{
protected:
    DropAsksBeforeDiscarding()
    {
        SymbolIcon::setUpTheme();
        m_settings->setValue(Setting::didCompleteOnboarding, true);
        EXPECT_TRUE(writeBytes(m_first, encodedPng(plainImage(QSize(320, 200)))));
        EXPECT_TRUE(writeBytes(m_second, encodedPng(plainImage(QSize(240, 160)))));
    }

    static QImage plainImage(QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor(0xf4, 0xf5, 0xf7));
        return image;
    }
    /// Drags `data` onto the window's view and drops it there, as the desktop delivers a
    /// drop; true when the view took it.
    bool drop(const QMimeData &data)
    {
        const QPoint centre = m_content->rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_content, &enter);
        QDropEvent dropped(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_content, &dropped);
        return enter.isAccepted() && dropped.isAccepted();
    }
    void dropFile(const QString &path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        ASSERT_TRUE(drop(data));
    }
    void dropSecond()
    {
        QMimeData data;
        if (GetParam().dropsFile) {
            data.setUrls({QUrl::fromLocalFile(m_second)});
        } else { // as the X server's drop data offers another application's image
            data.setImageData(QImage(m_second));
            data.setData(QStringLiteral("image/png"), fileBytes(m_second));
        }
        ASSERT_TRUE(drop(data));
    }
    void waitForScan(QSize size)
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return state().image().size() == size && !state().isChecking(); },
                                    scanTimeoutMs));
    }
    /// Answers the question about the hand-drawn box with the button of that name.
    void answer(const char *button)
    {
        auto *question = m_window.findChild<QMessageBox *>(QStringLiteral("discard-manual-boxes"));
        ASSERT_TRUE(question && question->isVisible()) << "the drop asked nothing";
        QTest::mouseClick(question->findChild<QPushButton *>(QString::fromLatin1(button)), Qt::LeftButton);
        drainEvents();
    }
    const ReviewState &state() { return m_session.review().state(); }

    ScopedEnvironmentVariable m_testMode{"VELMORA_UI_TEST_MODE", "1"};
    ScopedEnvironmentVariable m_location{"VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/usr/bin/velmora"};
    QTemporaryDir m_folder;
    const QString m_first = m_folder.filePath(QStringLiteral("first.png"));
    const QString m_second = m_folder.filePath(QStringLiteral("second.png"));
    TempSettings m_settings;
    SystemPlatform m_platform;
    CommandBus m_commands;
    WindowSession m_session{*m_settings, m_commands, m_platform.services(NotificationCenter::none())};
    ContentView *m_content = new ContentView(m_session);
    MainWindow m_window{{*m_settings, m_commands, {}, [] { return true; }, [] {}, {}}, m_content};
};

TEST_P(DropAsksBeforeDiscarding, ADropAsksBeforeAHandDrawnBoxIsLost)
{
    ASSERT_TRUE(showActive(m_window));
    dropFile(m_first);
    waitForScan(QSize(320, 200));
    m_session.review().addManualBox({0.3, 0.3, 0.2, 0.2});

    dropSecond();
    answer("discard-manual-boxes-cancel-button");
    EXPECT_EQ(state().sourceImageURL(), QUrl::fromLocalFile(m_first));
    EXPECT_EQ(state().image().size(), QSize(320, 200));
    EXPECT_EQ(state().redactionPlan().manualDetections().size(), 1) << "Cancel lost the box";

    dropSecond();
    answer("discard-manual-boxes-discard-button");
    waitForScan(QSize(240, 160));
    EXPECT_TRUE(state().redactionPlan().manualDetections().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, DropAsksBeforeDiscarding, ::testing::Values(
    DropRow{"files", true},
    DropRow{"imageBytes", false}
), rowName);

} // namespace
} // namespace velmora::test
