#include "velmora_process.h"

#include "support/image_fixtures.h"
#include "support/process_waits.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

constexpr int kQuits = 3;

/// A screenshot full of text, so that its scan keeps the recognition engines busy.
QImage screenOfText(int seed)
{
    QImage screen(1600, 900, QImage::Format_RGB32);
    screen.fill(QColor(0xfa, 0xfa, 0xfa));
    QPainter painter(&screen);
    QFont font = testing::installedFont(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(16);
    painter.setFont(font);
    painter.setPen(QColor(0x20, 0x20, 0x20));
    for (int line = 0; line < 40; ++line)
        painter.drawText(30, 30 + line * 21,
                         QStringLiteral("%1 deploy --region eu-west-%2 --owner ops%3@example.com --retries %4")
                             .arg(seed * 100 + line)
                             .arg(line % 3)
                             .arg(line)
                             .arg(seed + line));
    return screen;
}

// A logout sends SIGTERM: arriving while a folder of screenshots is being scanned, it
// ends the process cleanly every time, the recognition engines with it.
TEST(QuitDuringScan, SigtermWhileAFolderIsScannedEndsTheProcessCleanly)
{
    QTemporaryDir folder;
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(screenOfText(i).save(folder.filePath(QStringLiteral("shot-%1.png").arg(i))));

    for (int quit = 0; quit < kQuits; ++quit) {
        SCOPED_TRACE(quit);
        // The pool says when it starts an engine: from then on a scan is under way.
        RunningVelmora velmora({.environment = {{QStringLiteral("QT_LOGGING_RULES"),
                                                 QStringLiteral("com.orlwick.kavri.ocr.info=true")}},
                                .arguments = {folder.path()}});
        ASSERT_TRUE(waitUntilStarted(velmora.process));
        QByteArray log;
        ASSERT_TRUE(waitUntil([&] {
            log += velmora.process.readAllStandardError();
            return log.contains("Started OCR engine");
        }, "the scan to start")) << log.toStdString();

        velmora.process.terminate();
        ASSERT_TRUE(waitUntilEnded(velmora.process));
        EXPECT_EQ(velmora.process.exitStatus(), QProcess::NormalExit) << "ended by signal "
                                                                      << velmora.process.exitCode();
        EXPECT_EQ(velmora.process.exitCode(), 0);
    }
}

} // namespace
} // namespace velmora::test
