#include "core/settings/settings_table.h"
#include "e2e/window/velmora_process.h"
#include "support/event_loop.h"
#include "support/process_waits.h"
#include "support/xclip.h"
#include "support/xdotool.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace velmora::test {
namespace {

/// The id of the visible window whose title is exactly `title`, else empty.
QString visibleWindow(const QString &title)
{
    return xdotoolOutput({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                          QLatin1Char('^') + title + QLatin1Char('$')})
        .section(QLatin1Char('\n'), 0, 0);
}

// Another application copies a file whose name says PNG but which is a named pipe that
// nothing writes to. With the clipboard guard on, the real executable looks at the copy
// and goes on: its window still answers the keyboard, and a logout's SIGTERM ends it.
TEST(ClipboardPipe, ACopiedPipeLeavesTheWindowResponsive)
{
    QTemporaryDir folder;
    const QString pipe = folder.filePath(QStringLiteral("shot.png"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

    RunningVelmora velmora(
        {.environment = {{QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("com.orlwick.kavri.clipboard.info=true")}},
         .settings = {{Setting::isClipboardProtectionEnabled.key, true}, {Setting::didCompleteOnboarding.key, true}}});
    ASSERT_TRUE(waitUntilStarted(velmora.process));
    // Shown, the window has started the guard, which scans only what is copied later.
    QString window;
    ASSERT_TRUE(waitUntil([&] { return !(window = visibleWindow(QStringLiteral("Velmora"))).isEmpty(); },
                          "the main window"));
    ASSERT_TRUE(xclipOffer(QStringLiteral("text/uri-list"), QUrl::fromLocalFile(pipe).toEncoded() + "\r\n"));

    QByteArray log;
    ASSERT_TRUE(waitUntil([&] {
        log += velmora.process.readAllStandardError();
        return log.contains("offered no readable image");
    }, "the guard to give up on the copy")) << "the guard never finished looking at the copy:\n" << log.toStdString();

    ASSERT_TRUE(focusWindow(window));
    ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+comma")}));
    EXPECT_TRUE(waitUntil([&] { return !visibleWindow(QStringLiteral("Velmora Settings")).isEmpty(); },
                          "the settings window"))
        << "the window did not answer its Settings key";

    velmora.process.terminate();
    ASSERT_TRUE(waitUntilEnded(velmora.process));
    EXPECT_EQ(velmora.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(velmora.process.exitCode(), 0);
}

} // namespace
} // namespace velmora::test
