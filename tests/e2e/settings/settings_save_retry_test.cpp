#include "core/settings/settings_save_retry.h"
#include "e2e/window/window_on_x.h"

#include "support/event_loop.h"
#include "support/file_bytes.h"
#include "support/other_application.h"
#include "support/row_name.h"
#include "support/settings_save_failure_line.h"
#include "support/window_activation.h"
#include "support/xdotool.h"

#include <QDir>
#include <QGuiApplication>
#include <QTest>

namespace velmora::test {
namespace {

using namespace std::chrono_literals;

enum class Retry { onTheClock, onComingToTheFront };

struct RetryRow
{
    const char *name;
    Retry retry;
};

// The main window on the X server while a folder takes the settings file's place, so
// that saves fail, and another application in front.
class SettingsSaveRetries : public WindowOnX, public ::testing::WithParamInterface<RetryRow>
{
protected:
    QString file() const { return m_settings.folder() + QStringLiteral("/settings.ini"); }
    /// Lets the saves asked for end and hands over their results.
    void finishSaves()
    {
        ASSERT_TRUE(m_settings->saveThread().waitForDone(10000)) << "a save did not end";
        drainEvents();
    }
    static bool waitUntilInFront(bool inFront)
    {
        return QTest::qWaitFor(
            [&] { return (QGuiApplication::applicationState() == Qt::ApplicationActive) == inFront; }, 10000);
    }
};

// Once the folder is writable again, the failure line goes when a retry lands, with no
// change to save it: every few seconds while saves fail, and when Velmora comes to the
// front again (where the user comes back from freeing space or fixing the folder).
TEST_P(SettingsSaveRetries, TheFailureLineGoesOnceARetryLands)
{
    const QString cannotBeSaved =
        QStringLiteral("Settings could not be saved. Check the settings folder to keep your changes.");
    ASSERT_TRUE(showActive(m_window));
    ASSERT_TRUE(m_settings->sync());
    ASSERT_TRUE(QFile::remove(file()) && QDir().mkdir(file()));
    m_settings->setValue(Setting::customTermsText, QStringLiteral("Project Falcon"));
    ASSERT_FALSE(m_settings->sync());
    ASSERT_EQ(settingsSaveFailureShown(m_window), cannotBeSaved);
    OtherApplication other;
    ASSERT_TRUE(other.takeFocus() && waitUntilInFront(false));

    ASSERT_TRUE(QDir().rmdir(file()));
    m_clock.advance(SettingsSaveRetry::interval - 1ms);
    finishSaves();
    EXPECT_EQ(settingsSaveFailureShown(m_window), cannotBeSaved);
    if (GetParam().retry == Retry::onTheClock)
        m_clock.advance(1ms);
    else
        ASSERT_TRUE(focusWindow(QString::number(m_window.winId())) && waitUntilInFront(true));
    finishSaves();
    EXPECT_EQ(settingsSaveFailureShown(m_window), QStringLiteral("<none>"));
    EXPECT_TRUE(fileBytes(file()).contains("Project Falcon"));
}

INSTANTIATE_TEST_SUITE_P(Rows, SettingsSaveRetries, ::testing::Values(
    RetryRow{"OnTheClock", Retry::onTheClock},
    RetryRow{"OnComingToTheFront", Retry::onComingToTheFront}), rowName);

} // namespace
} // namespace velmora::test
