#include "app/commands/command_bus.h"
#include "app/kit/desktop_services.h"
#include "app/kit/symbol_icon.h"
#include "app/protection/clipboard_protection_controller.h"
#include "app/protection/system_clipboard.h"
#include "app/review/review_controller.h"
#include "app/window/content_view.h"
#include "app/window/main_window.h"
#include "app/window/window_session.h"
#include "core/analysis/scan_pipeline.h"

#include "support/image_bytes.h"
#include "support/manual_clock.h"
#include "support/other_application.h"
#include "support/recording_notification_center.h"
#include "support/row_name.h"
#include "support/scoped_environment.h"
#include "support/secret_screenshot.h"
#include "support/temp_settings.h"
#include "support/window_activation.h"
#include "support/xclip.h"
#include "support/xdotool.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

using namespace std::chrono_literals;

constexpr int scanTimeoutMs = 60000;
constexpr int focusTimeoutMs = 10000;

struct ReturnRow
{
    const char *name;
    std::chrono::milliseconds away;        ///< From the cleaned copy until Velmora is in front again.
    std::chrono::milliseconds afterReturn; ///< Then, with Velmora in front.
    bool offersUndo;
};

// The application's window on the X server over the real engine and the X clipboard,
// its clipboard guard on a manual clock: a screenshot with an e-mail address copied
// while another application is in front is replaced by its cleaned copy and announced
// by a notification. Back in Velmora the receipt's banner offers Review and Undo for
// as long as the undo lasts, eight seconds from the cleaned copy.
class AutoCleanReceiptOnReturn : public ::testing::TestWithParam<ReturnRow>
{
protected:
    AutoCleanReceiptOnReturn()
    {
        SymbolIcon::setUpTheme();
        m_settings->setValue(Setting::didCompleteOnboarding, true);
        m_settings->setValue(Setting::isClipboardProtectionEnabled, true);
        m_settings->setValue(Setting::clipboardReplacementModeID, QStringLiteral("pauseIfUnsure"));
    }

    QWidget *banner(const char *name) const { return m_window.findChild<QWidget *>(QString::fromLatin1(name)); }
    bool isInFront() const { return QGuiApplication::applicationState() == Qt::ApplicationActive; }

    ScopedEnvironmentVariable m_testMode{"VELMORA_UI_TEST_MODE", "1"};
    ScopedEnvironmentVariable m_location{"VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/usr/bin/velmora"};
    TempSettings m_settings;
    ScanPipeline m_engine;
    SystemClipboard m_clipboard;
    ManualClock m_clock;
    RecordingNotificationCenter m_notifications;
    CommandBus m_commands;
    WindowSession m_session{*m_settings, m_commands,
                            PlatformServices{m_engine, m_clipboard, m_clock, FileDialogs::none(), DesktopServices::none(),
                                             m_notifications}};
    ContentView *m_content = new ContentView(m_session);
    MainWindow m_window{{*m_settings, m_commands, {}, [] { return true; }, [] {}, {}}, m_content};
};

TEST_P(AutoCleanReceiptOnReturn, TheReceiptWaitsInTheWindowWhileItsUndoLasts)
{
    ASSERT_TRUE(showActive(m_window));
    OtherApplication other;
    ASSERT_TRUE(other.takeFocus());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !isInFront(); }, focusTimeoutMs));

    const QByteArray copied = encodedPng(screenshotWithSecret());
    const qint64 before = m_clipboard.changeCount();
    ASSERT_TRUE(xclipOffer(QStringLiteral("image/png"), copied));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_clipboard.changeCount() > before; }, focusTimeoutMs));
    for (int poll = 0; poll < 3; ++poll)
        m_clock.advance(ClipboardProtectionController::pollInterval);
    ASSERT_EQ(m_session.clipboardScan().scanningChangeCounts().size(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_session.clipboardScan().scanningChangeCounts().isEmpty(); },
                                scanTimeoutMs));
    ASSERT_NE(xclipRead(QStringLiteral("image/png")), copied) << "the copy was not cleaned";
    ASSERT_EQ(m_notifications.added.size(), 1);
    EXPECT_TRUE(m_notifications.added.first().body.endsWith(
        QStringLiteral("Open Velmora to review or undo recent AutoClean output.")));
    EXPECT_FALSE(banner("completion-banner")->isVisible());

    m_clock.advance(GetParam().away);
    ASSERT_TRUE(focusWindow(QString::number(m_window.winId())));
    ASSERT_TRUE(QTest::qWaitFor([&] { return isInFront(); }, focusTimeoutMs));
    m_clock.advance(GetParam().afterReturn);

    ASSERT_EQ(banner("completion-banner")->isVisible(), GetParam().offersUndo);
    if (!GetParam().offersUndo) {
        EXPECT_NE(xclipRead(QStringLiteral("image/png")), copied);
        return;
    }
    EXPECT_EQ(qobject_cast<QLabel *>(banner("completion-banner-text"))->text(),
              QStringLiteral("Clipboard protected · 1 item masked"));
    auto *review = qobject_cast<QPushButton *>(banner("completion-banner-primary-button"));
    auto *undo = qobject_cast<QPushButton *>(banner("completion-banner-secondary-button"));
    EXPECT_TRUE(review->isVisible());
    EXPECT_EQ(review->text(), QStringLiteral("Review"));
    ASSERT_TRUE(undo->isVisible());
    ASSERT_EQ(undo->text(), QStringLiteral("Undo"));
    QTest::mouseClick(undo, Qt::LeftButton);
    EXPECT_EQ(xclipRead(QStringLiteral("image/png")), copied) << "Undo did not bring the copied image back";
}

INSTANTIATE_TEST_SUITE_P(Rows, AutoCleanReceiptOnReturn, ::testing::Values(
    ReturnRow{"backWithinTheUndo", 5s, 2500ms, true},
    ReturnRow{"backWithinTheUndoUntilItEnds", 5s, 3s, false},
    ReturnRow{"backOnceTheUndoEnded", 8s, 0s, false}
), rowName);

} // namespace
} // namespace velmora::test
