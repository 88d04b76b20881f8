#include "core/settings/settings_table.h"

#include "e2e/window/velmora_process.h"
#include "support/event_loop.h"
#include "support/image_fixtures.h"
#include "support/process_waits.h"
#include "support/xclip.h"
#include "support/xdotool.h"

#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

/// How long a share command is given to raise the review warning before it is given
/// again: until the scan ends, the command does nothing and no warning comes.
constexpr std::chrono::milliseconds warningQuietPeriod{500};
const QColor paper(0xf4, 0xf5, 0xf7);
const QColor ink(0x1d, 0x4e, 0xd8);

// The real executable with the desktop's GTK file dialog, driven by keys as a user
// would: a screenshot whose findings include some marked Check raises the review
// warning before it is shared, and going on from it writes or copies the cleaned PNG
// while Velmora keeps running.
class ShareAnyway : public ::testing::Test
{
protected:
    ShareAnyway()
    {
        QImage screenshot(900, 220, QImage::Format_RGB32);
        screenshot.fill(paper);
        QPainter painter(&screenshot);
        QFont font = testing::installedFont(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(26);
        painter.setFont(font);
        painter.setPen(ink);
        painter.drawText(m_secret, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("billing.team@example.org"));
        // An address of the customer-account kind: a finding to Check.
        painter.drawText(QRect(30, 130, 840, 40), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("Server 10.20.30.40 is CONFIDENTIAL"));
        painter.end();
        m_source = m_folder.filePath(QStringLiteral("Invoice.png"));
        EXPECT_TRUE(screenshot.save(m_source));
    }

    /// Starts Velmora on the screenshot, asks for `keys` (a share command) until its scan
    /// has ended and the review warning comes up, and goes on with "... anyway".
    void shareAnyway(const QString &keys)
    {
        const QString window = RunningVelmora::waitForMainWindow();
        ASSERT_FALSE(window.isEmpty());
        // Until the scan ends the command does nothing; then it asks first.
        QString warning;
        ASSERT_TRUE(waitUntil([&] {
            if (!focusWindow(window) || !xdotool({QStringLiteral("key"), keys}))
                return false;
            return QTest::qWaitFor([&] {
                warning = windowTitled(QStringLiteral("^Review findings before sharing"));
                return !warning.isEmpty();
            }, int(warningQuietPeriod.count()));
        }, "the scan to end and the review warning to come up"));
        ASSERT_TRUE(focusWindow(warning));
        // Cancel has the focus; the other button is "... anyway".
        ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("Tab"), QStringLiteral("space")}));
    }

    /// Whether `image` is the screenshot with the address filled.
    ::testing::AssertionResult isCleanedScreenshot(const QImage &image) const
    {
        if (image.size() != QImage(m_source).size())
            return ::testing::AssertionFailure() << "size " << image.width() << "x" << image.height();
        int inkLeft = 0;
        int filled = 0;
        for (int y = m_secret.top(); y <= m_secret.bottom(); ++y) {
            for (int x = m_secret.left(); x <= m_secret.right(); ++x) {
                inkLeft += image.pixelColor(x, y).rgb() == ink.rgb();
                filled += image.pixelColor(x, y).rgb() == QColor(Qt::black).rgb();
            }
        }
        if (inkLeft > 0 || filled < m_secret.width() * 10)
            return ::testing::AssertionFailure() << inkLeft << " ink pixels left, " << filled << " filled";
        return ::testing::AssertionSuccess();
    }

    /// Velmora on the screenshot, with the desktop's look as a GNOME session has it.
    VelmoraLaunch launch() const
    {
        // Freed memory is overwritten, so that a use after free inside Qt's own code shows:
        // by glibc's allocator, or by the sanitizer's in the sanitizer build.
        QString sanitizer = qEnvironmentVariable("ASAN_OPTIONS");
        sanitizer += QStringLiteral("%1max_free_fill_size=1048576:free_fill_byte=165").arg(sanitizer.isEmpty() ? "" : ":");
        // GTK keeps its recent files at home.
        return {.environment = {{QStringLiteral("QT_QPA_PLATFORMTHEME"), QStringLiteral("gtk3")},
                                {QStringLiteral("XDG_DATA_HOME"), m_folder.filePath(QStringLiteral("data"))},
                                {QStringLiteral("XDG_CACHE_HOME"), m_folder.filePath(QStringLiteral("cache"))},
                                {QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1")},
                                {QStringLiteral("MALLOC_PERTURB_"), QStringLiteral("165")},
                                {QStringLiteral("ASAN_OPTIONS"), sanitizer}},
                .arguments = {m_source},
                .settings = {{Setting::didCompleteOnboarding.key, true}}};
    }

    /// Ends Velmora as the desktop would at logout: it must still run, and quit cleanly.
    static ::testing::AssertionResult quitsCleanly(RunningVelmora &velmora)
    {
        if (velmora.process.state() != QProcess::Running)
            return ::testing::AssertionFailure() << "Velmora ended: " << velmora.process.readAllStandardError().toStdString();
        velmora.process.terminate();
        if (!waitUntilEnded(velmora.process))
            return ::testing::AssertionFailure() << "Velmora did not quit";
        if (velmora.process.exitStatus() != QProcess::NormalExit || velmora.process.exitCode() != 0)
            return ::testing::AssertionFailure() << "exit code " << velmora.process.exitCode() << ": "
                                                 << velmora.process.readAllStandardError().toStdString();
        return ::testing::AssertionSuccess();
    }

    QTemporaryDir m_folder;
    QString m_source;
    const QRect m_secret{30, 40, 600, 50};
};

TEST_F(ShareAnyway, ExportAnywayWritesTheCleanedFileThroughTheGtkSaveDialog)
{
    RunningVelmora velmora(launch());
    ASSERT_TRUE(waitUntilStarted(velmora.process));
    shareAnyway(QStringLiteral("ctrl+e"));

    const QString dialog = waitForWindowTitled(QStringLiteral("^Export Cleaned Copy"));
    ASSERT_FALSE(dialog.isEmpty());
    ASSERT_TRUE(focusWindow(dialog));
    // The name field holds the proposed name, selected: typing replaces it.
    ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")}));
    ASSERT_TRUE(xdotool({QStringLiteral("type"), QStringLiteral("Shared.png")}));
    ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("Return")}));

    const QString written = m_folder.filePath(QStringLiteral("Shared.png"));
    QImage cleaned;
    ASSERT_TRUE(waitUntil([&] {
        cleaned = QImage(written);
        return !cleaned.isNull() || velmora.process.state() != QProcess::Running;
    }, "the cleaned file")) << "no file written";
    EXPECT_TRUE(isCleanedScreenshot(cleaned));
    EXPECT_TRUE(quitsCleanly(velmora));
}

TEST_F(ShareAnyway, CopyAnywayLeavesTheCleanedPngOnTheClipboard)
{
    RunningVelmora velmora(launch());
    ASSERT_TRUE(waitUntilStarted(velmora.process));
    shareAnyway(QStringLiteral("ctrl+shift+c"));

    // The clipboard is shared: wait until it holds Velmora's copy, whatever it held before.
    QImage copied;
    ASSERT_TRUE(waitUntil([&] {
        copied = QImage::fromData(xclipRead(QStringLiteral("image/png")), "PNG");
        return isCleanedScreenshot(copied) || velmora.process.state() != QProcess::Running;
    }, "the cleaned copy on the clipboard")) << "nothing copied";
    EXPECT_TRUE(isCleanedScreenshot(copied));
    EXPECT_TRUE(quitsCleanly(velmora));
}

} // namespace
} // namespace velmora::test
