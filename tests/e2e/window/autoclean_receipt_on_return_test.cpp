#include "e2e/window/window_on_x.h"

#include "app/protection/clipboard_protection_controller.h"

#include "support/event_loop.h"
#include "support/image_bytes.h"
#include "support/other_application.h"
#include "support/row_name.h"
#include "support/secret_screenshot.h"
#include "support/window_waits.h"
#include "support/xclip.h"
#include "support/xdotool.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace velmora::test {
namespace {

using namespace std::chrono_literals;

struct ReturnRow
{
    const char *name;
    std::chrono::milliseconds away;        ///< From the cleaned copy until Velmora is in front again.
    std::chrono::milliseconds afterReturn; ///< Then, with Velmora in front.
    bool offersUndo;
};

// With the clipboard guard on, a screenshot with an e-mail address copied while another
// application is in front is replaced by its cleaned copy and announced by a
// notification. Back in Velmora, the receipt's banner offers Review and Undo for as
// long as the undo lasts, eight seconds from the cleaned copy.
class AutoCleanReceiptOnReturn : public WindowOnX, public ::testing::WithParamInterface<ReturnRow>
{
protected:
    template <typename Widget = QWidget> Widget *banner(const char *name) const
    {
        return m_window.findChild<Widget *>(QString::fromLatin1(name));
    }
};

TEST_P(AutoCleanReceiptOnReturn, TheReceiptWaitsInTheWindowWhileItsUndoLasts)
{
    m_settings->setValue(Setting::isClipboardProtectionEnabled, true);
    m_settings->setValue(Setting::clipboardReplacementModeID, QStringLiteral("pauseIfUnsure"));
    ASSERT_TRUE(showActive(m_window));
    OtherApplication other;
    ASSERT_TRUE(other.takeFocus() && waitUntilInFront(false));

    const QByteArray copied = encodedPng(screenshotWithSecret());
    const qint64 before = m_clipboard.changeCount();
    ASSERT_TRUE(xclipOffer(QStringLiteral("image/png"), copied));
    ASSERT_TRUE(waitUntil([&] { return m_clipboard.changeCount() > before; }, "Qt to see the clipboard change"));
    for (int poll = 0; poll < 3; ++poll) { // the guard reads another application's clipboard between its polls
        m_clock.advance(ClipboardProtectionController::pollInterval);
        ASSERT_TRUE(waitUntil([&] { return !m_session.clipboardGuard().isReadingClipboard(); },
                              "the clipboard's owner to answer"));
    }
    ASSERT_TRUE(waitUntil([&] { return m_notifications.added.size() == 1; }, "the AutoClean receipt"));
    EXPECT_FALSE(banner("completion-banner")->isVisible());

    m_clock.advance(GetParam().away);
    ASSERT_TRUE(focusWindow(QString::number(m_window.winId())) && waitUntilInFront(true));
    m_clock.advance(GetParam().afterReturn);

    ASSERT_EQ(banner("completion-banner")->isVisible(), GetParam().offersUndo);
    if (!GetParam().offersUndo)
        return;
    EXPECT_EQ(banner<QLabel>("completion-banner-text")->text(), QStringLiteral("Clipboard protected · 1 item masked"));
    EXPECT_EQ(banner<QPushButton>("completion-banner-primary-button")->text(), QStringLiteral("Review"));
    auto *undo = banner<QPushButton>("completion-banner-secondary-button");
    ASSERT_EQ(undo->text(), QStringLiteral("Undo"));
    ASSERT_NE(xclipRead(QStringLiteral("image/png")), copied);
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
