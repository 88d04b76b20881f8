#include "app/kit/system_desktop.h"

#include "support/event_loop.h"
#include "support/file_bytes.h"
#include "support/private_bus.h"
#include "support/row_name.h"
#include "support/scoped_environment.h"
#include "support/test_file_manager.h"
#include "support/url_sink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {


// A desktop on a bus of the test's own, with a folder holding one exported image.
class SystemDesktopTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_bus.isRunning());
        ASSERT_TRUE(writeBytes(exportedFile(), "png"));
    }

    QString exportedFile() const { return m_folder.filePath(QStringLiteral("one-cleaned.png")); }

    PrivateBus m_bus;
    QTemporaryDir m_folder;
    UrlSink m_openedFolders{QStringLiteral("file")};
};

TEST_F(SystemDesktopTest, RevealAsksTheFileManagerWithoutWaitingForItsAnswer)
{
    TestFileManager fileManager(m_bus.connect());
    ASSERT_TRUE(fileManager.isServing());
    SystemDesktop desktop(m_bus.connect());

    desktop.revealInFileManager(exportedFile());
    // The file manager lives on this thread: it can only answer once the call has returned.
    EXPECT_TRUE(fileManager.shownItems.isEmpty());
    ASSERT_TRUE(waitUntil([&] { return !fileManager.shownItems.isEmpty(); }, "the file manager to show the file"));
    EXPECT_EQ(fileManager.shownItems, QStringList{QUrl::fromLocalFile(exportedFile()).toString()});
    drainEvents();
    EXPECT_TRUE(m_openedFolders.urls.isEmpty());
}

struct FallbackRow
{
    const char *name;
    bool revealsTheFolderItself;
};

class SystemDesktopFallback : public SystemDesktopTest, public ::testing::WithParamInterface<FallbackRow>
{
};

TEST_P(SystemDesktopFallback, WithoutAFileManagerTheFolderOpens)
{
    const QString path = GetParam().revealsTheFolderItself ? m_folder.path() : exportedFile();
    SystemDesktop desktop(m_bus.connect());
    desktop.revealInFileManager(path);
    EXPECT_TRUE(m_openedFolders.urls.isEmpty());
    ASSERT_TRUE(waitUntil([&] { return !m_openedFolders.urls.isEmpty(); }, "the folder to be opened"));
    EXPECT_EQ(m_openedFolders.urls, QList<QUrl>{QUrl::fromLocalFile(QDir(m_folder.path()).absolutePath())});
}

INSTANTIATE_TEST_SUITE_P(Rows, SystemDesktopFallback,
                         ::testing::Values(FallbackRow{"file", false}, FallbackRow{"folder", true}), rowName);

TEST_F(SystemDesktopTest, APathThatIsGoneRevealsNothing)
{
    TestFileManager fileManager(m_bus.connect());
    SystemDesktop desktop(m_bus.connect());
    desktop.revealInFileManager(m_folder.filePath(QStringLiteral("deleted.png")));
    desktop.revealInFileManager(QString());
    drainEvents();
    EXPECT_TRUE(fileManager.shownItems.isEmpty());
    EXPECT_TRUE(m_openedFolders.urls.isEmpty());
}

struct SettingsToolRow
{
    const char *name;
    QStringList installed;
    QStringList command;
};

class NotificationSettingsTool : public ::testing::TestWithParam<SettingsToolRow>
{
};

TEST_P(NotificationSettingsTool, TheFirstToolFoundOnThePathOpensThem)
{
    QTemporaryDir bin;
    for (const QString &tool : GetParam().installed) {
        QFile file(bin.filePath(tool));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ScopedEnvironmentVariable path{"PATH", QFile::encodeName(bin.path())};
    EXPECT_EQ(notificationSettingsCommand(), GetParam().command);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NotificationSettingsTool,
    ::testing::Values(SettingsToolRow{"none", {}, {}},
                      SettingsToolRow{"xfce", {"xfce4-notifyd-config"}, {"xfce4-notifyd-config"}},
                      SettingsToolRow{"kde", {"systemsettings", "xfce4-notifyd-config"},
                                      {"systemsettings", "kcm_notifications"}},
                      SettingsToolRow{"gnomeFirst", {"xfce4-notifyd-config", "systemsettings", "gnome-control-center"},
                                      {"gnome-control-center", "notifications"}}),
    rowName);

} // namespace
} // namespace velmora::test
