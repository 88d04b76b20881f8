#include "main_window_fixture.h"
#include "support/settings_save_failure_line.h"

#include <QAction>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

// Quit while a folder takes the settings file's place, so that no save lands: the
// question says why and offers to try again, quit anyway or stay; Velmora quits only once
// the user says so.
TEST_F(MainWindowFixture, QuitWithSettingsThatCannotBeSavedAsksWhetherToTryAgainOrQuitAnyway)
{
    showActive();
    ASSERT_TRUE(m_settings->sync());
    const QString file = m_settings.folder() + QStringLiteral("/settings.ini");
    ASSERT_TRUE(QFile::remove(file) && QDir().mkdir(file));
    m_settings->setValue(Setting::customTermsText, QStringLiteral("Project Falcon"));
    const QString cannotBeSaved =
        QStringLiteral("Settings could not be saved. Check the settings folder to keep your changes.");

    QStringList answers{"held-settings-try-again-button", "held-settings-cancel-button", "held-settings-quit-button"};
    QStringList asked;
    QTimer answering;
    QObject::connect(&answering, &QTimer::timeout, [&] {
        auto *box = m_window->findChild<QMessageBox *>(QStringLiteral("held-settings-question"));
        if (!box || !box->isVisible() || answers.isEmpty())
            return;
        asked.append(box->windowTitle() + " | " + box->text() + " | " + box->informativeText());
        box->findChild<QPushButton *>(answers.takeFirst())->click();
    });
    answering.start(0);
    auto *quit = m_window->findChild<QAction *>(QStringLiteral("quit-menu-item"));
    ASSERT_NE(quit, nullptr);

    quit->trigger(); // Try again, which fails too; then stay.
    EXPECT_EQ(m_quits, 0);
    EXPECT_EQ(settingsSaveFailureShown(*m_window), cannotBeSaved);
    quit->trigger(); // Quit anyway.
    EXPECT_EQ(m_quits, 1);
    const QString question = QStringLiteral("Quit Without Saving Settings? | ") + cannotBeSaved
                             + QStringLiteral(" | Changes made since the last save are lost if Velmora quits now.");
    EXPECT_EQ(asked, QStringList(3, question));
}

} // namespace
