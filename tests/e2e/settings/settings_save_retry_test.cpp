#include "core/settings/settings_save_retry.h"
#include "e2e/window/window_on_x.h"

#include "support/event_loop.h"
#include "support/file_bytes.h"
#include "support/other_application.h"
#include "support/row_name.h"
#include "support/window_waits.h"
#include "support/xdotool.h"

#include <QDir>
#include <QGuiApplication>
#include <QLabel>

namespace velmora::test {
namespace {

using namespace std::chrono_literals;

struct RetryRow
{
    const char *name;
    bool onComingToTheFront; ///< Else on the clock.
};

class SettingsSaveRetries : public WindowOnX, public ::testing::WithParamInterface<RetryRow>
{
};

// Saves fail while a folder takes the settings file's place and another application is
// in front. Once the folder goes, the failure line goes when a retry lands, with no change
// to save it: every few seconds, and when Velmora comes to the front again.
TEST_P(SettingsSaveRetries, TheFailureLineGoesOnceARetryLands)
{
    const QString file = m_settings.folder() + QStringLiteral("/settings.ini");
    const QString cannotBeSaved =
        QStringLiteral("Settings could not be saved. Check the settings folder to keep your changes.");
    const auto finishSaves = [this] { return m_settings->saveThread().waitForDone(10000) && (drainEvents(), true); };
    const auto failureLine = [this] {
        const auto *line = m_window.findChild<QLabel *>(QStringLiteral("settings-save-failure"));
        return line && line->isVisibleTo(&m_window) ? line->text() : QString();
    };
    ASSERT_TRUE(showActive(m_window) && m_settings->sync() && QFile::remove(file) && QDir().mkdir(file));
    m_settings->setValue(Setting::customTermsText, QStringLiteral("Project Falcon"));
    ASSERT_FALSE(m_settings->sync());
    OtherApplication other;
    ASSERT_TRUE(other.takeFocus() && waitUntilInFront(false) && QDir().rmdir(file));

    m_clock.advance(SettingsSaveRetry::interval - 1ms);
    ASSERT_TRUE(finishSaves());
    EXPECT_EQ(failureLine(), cannotBeSaved);
    if (GetParam().onComingToTheFront)
        ASSERT_TRUE(focusWindow(QString::number(m_window.winId())) && waitUntilInFront(true));
    else
        m_clock.advance(1ms);
    ASSERT_TRUE(finishSaves());
    EXPECT_EQ(failureLine(), QString());
    EXPECT_TRUE(fileBytes(file).contains("Project Falcon"));
}

INSTANTIATE_TEST_SUITE_P(Rows, SettingsSaveRetries, ::testing::Values(
    RetryRow{"OnTheClock", false},
    RetryRow{"OnComingToTheFront", true}), rowName);

} // namespace
} // namespace velmora::test
