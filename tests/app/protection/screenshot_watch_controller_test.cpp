#include "app/protection/screenshot_watch_controller.h"

#include "app/protection/screenshot_watch_folder_store.h"
#include "support/event_loop.h"
#include "support/file_bytes.h"
#include "support/manual_clock.h"
#include "support/row_name.h"
#include "support/scoped_environment.h"
#include "support/temp_settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace velmora;
using namespace std::chrono_literals;

namespace {

class ScreenshotWatchControllerTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(QDir(m_root.path()).mkdir(QStringLiteral("Shots"))); }

    QString folder() const { return m_root.filePath(QStringLiteral("Shots")); }
    void startRecording()
    {
        m_controller.start([this](const QList<QUrl> &urls) { m_delivered.append(urls); });
    }

    QTemporaryDir m_root;
    test::TempSettings m_settings;
    test::ManualClock m_clock;
    ScreenshotWatchController m_controller{*m_settings, m_clock};
    QList<QList<QUrl>> m_delivered;
};

// Stored settings before a start, and the sentence the start leaves.
struct StatusRow
{
    const char *name;
    std::optional<bool> enabled;
    std::optional<const char *> bookmark; ///< Relative to the test's folder.
    const char *status;
    bool running;
};

class ScreenshotWatchStatusTest : public ScreenshotWatchControllerTest, public ::testing::WithParamInterface<StatusRow>
{
};

} // namespace

TEST_P(ScreenshotWatchStatusTest, StartSaysWhatItDoes)
{
    const StatusRow &row = GetParam();
    ASSERT_TRUE(test::writeBytes(m_root.filePath(QStringLiteral("plain.png")), "x"));
    if (row.enabled)
        m_settings->setValue(Setting::isScreenshotWatchEnabled, *row.enabled);
    if (row.bookmark)
        m_settings->setValue(Setting::screenshotWatchFolderBookmark, m_root.filePath(QString::fromUtf8(*row.bookmark)));

    startRecording();

    EXPECT_EQ(m_controller.runtimeStatus(), QString::fromUtf8(row.status));
    EXPECT_EQ(m_controller.isRunning(), row.running);
}

INSTANTIATE_TEST_SUITE_P(Rows, ScreenshotWatchStatusTest, ::testing::Values(
    StatusRow{"switchAbsent", std::nullopt, "Shots", "Screenshot watch is off.", false},
    StatusRow{"switchedOff", false, "Shots", "Screenshot watch is off.", false},
    StatusRow{"noFolder", true, std::nullopt, "Choose a folder to enable screenshot watch.", false},
    StatusRow{"folderGone", true, "Gone", "Screenshot watch could not start. Choose the folder again.", false},
    StatusRow{"plainFile", true, "plain.png", "Screenshot watch could not start. Choose the folder again.", false},
    StatusRow{"running", true, "Shots", "Watching Shots for new screenshots.", true}
), test::rowName);

TEST_F(ScreenshotWatchControllerTest, HandsSettledFilesToTheHandler)
{
    ASSERT_TRUE(saveScreenshotWatchFolder(*m_settings, folder()));
    startRecording();
    ASSERT_TRUE(test::writeBytes(folder() + QStringLiteral("/New.png"), "png"));
    test::drainEvents();
    m_clock.advance(1s);

    EXPECT_EQ(m_delivered, (QList<QList<QUrl>>{{QUrl::fromLocalFile(folder() + QStringLiteral("/New.png"))}}));
}

TEST_F(ScreenshotWatchControllerTest, StaleFolderIsStoredAnewBeforeTheWatchStarts)
{
    m_settings->setValue(Setting::isScreenshotWatchEnabled, true);
    m_settings->setValue(Setting::screenshotWatchFolderBookmark, m_root.path() + QStringLiteral("/./Shots/"));

    startRecording();

    EXPECT_TRUE(m_controller.isRunning());
    EXPECT_EQ(m_settings->value(Setting::screenshotWatchFolderBookmark), folder());
    EXPECT_EQ(m_settings->value(Setting::screenshotWatchFolderPath), folder());
    EXPECT_EQ(m_settings->value(Setting::screenshotWatchFolderDisplayName), QStringLiteral("Shots"));
}

TEST_F(ScreenshotWatchControllerTest, FolderDeletedWhileRunningStopsWithTheSentence)
{
    ASSERT_TRUE(saveScreenshotWatchFolder(*m_settings, folder()));
    startRecording();
    ASSERT_TRUE(QDir(folder()).removeRecursively());
    test::drainEvents();

    EXPECT_FALSE(m_controller.isRunning());
    EXPECT_EQ(m_controller.runtimeStatus(),
              QStringLiteral("Screenshot watch stopped because the selected folder moved or was deleted."));
}

TEST_F(ScreenshotWatchControllerTest, StopKeepsTheSentenceAndEndsDelivery)
{
    ASSERT_TRUE(saveScreenshotWatchFolder(*m_settings, folder()));
    startRecording();
    m_controller.stop();
    ASSERT_TRUE(test::writeBytes(folder() + QStringLiteral("/New.png"), "png"));
    test::drainEvents();
    m_clock.advance(2s);

    EXPECT_FALSE(m_controller.isRunning());
    EXPECT_EQ(m_controller.runtimeStatus(), QStringLiteral("Watching Shots for new screenshots."));
    EXPECT_TRUE(m_delivered.isEmpty());
}

TEST_F(ScreenshotWatchControllerTest, SavingWritesTheFourKeys)
{
    ASSERT_TRUE(saveScreenshotWatchFolder(*m_settings, folder()));

    EXPECT_TRUE(m_settings->contains(Setting::isScreenshotWatchEnabled));
    EXPECT_TRUE(m_settings->value(Setting::isScreenshotWatchEnabled));
    EXPECT_EQ(m_settings->value(Setting::screenshotWatchFolderBookmark), folder());
    EXPECT_EQ(m_settings->value(Setting::screenshotWatchFolderDisplayName), QStringLiteral("Shots"));
    EXPECT_EQ(m_settings->value(Setting::screenshotWatchFolderPath), folder());
}

TEST_F(ScreenshotWatchControllerTest, SavingAMissingFolderStoresNothing)
{
    EXPECT_FALSE(saveScreenshotWatchFolder(*m_settings, m_root.filePath(QStringLiteral("Gone"))));

    for (const SettingDeclaration &setting : std::initializer_list<SettingDeclaration>{
             Setting::isScreenshotWatchEnabled, Setting::screenshotWatchFolderBookmark,
             Setting::screenshotWatchFolderDisplayName, Setting::screenshotWatchFolderPath})
        EXPECT_FALSE(m_settings->contains(setting)) << settingKey(setting).data();
}

TEST_F(ScreenshotWatchControllerTest, ClearingStoresOffAndRemovesTheFolderKeys)
{
    ASSERT_TRUE(saveScreenshotWatchFolder(*m_settings, folder()));
    clearScreenshotWatchFolder(*m_settings);

    EXPECT_TRUE(m_settings->contains(Setting::isScreenshotWatchEnabled));
    EXPECT_FALSE(m_settings->value(Setting::isScreenshotWatchEnabled));
    for (const SettingDeclaration &setting : std::initializer_list<SettingDeclaration>{
             Setting::screenshotWatchFolderBookmark, Setting::screenshotWatchFolderDisplayName,
             Setting::screenshotWatchFolderPath})
        EXPECT_FALSE(m_settings->contains(setting)) << settingKey(setting).data();
}

namespace {

class DefaultFolderTest : public ::testing::Test
{
protected:
    QString home(const QString &relative) const { return m_home.filePath(relative); }

    QTemporaryDir m_home;
    QTemporaryDir m_config;
    test::ScopedEnvironmentVariable m_homeVariable{"HOME", QFile::encodeName(m_home.path())};
    test::ScopedEnvironmentVariable m_configVariable{"XDG_CONFIG_HOME", QFile::encodeName(m_config.path())};
};

} // namespace

TEST_F(DefaultFolderTest, ProposesScreenshotsInsidePicturesWhenItExists)
{
    ASSERT_TRUE(QDir().mkpath(home(QStringLiteral("Pictures/Screenshots"))));
    EXPECT_EQ(ScreenshotWatchController::defaultFolder(), home(QStringLiteral("Pictures/Screenshots")));
}

TEST_F(DefaultFolderTest, ProposesTheDesktopOtherwise)
{
    ASSERT_TRUE(QDir().mkpath(home(QStringLiteral("Pictures"))));
    EXPECT_EQ(ScreenshotWatchController::defaultFolder(), home(QStringLiteral("Desktop")));
    EXPECT_EQ(ScreenshotWatchController::desktopFolder(), home(QStringLiteral("Desktop")));
}
