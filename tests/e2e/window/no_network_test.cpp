#include "core/analysis/scan/scan_pipeline.h"
#include "core/redaction/redaction_renderer.h"

#include "support/file_bytes.h"
#include "support/image_fixtures.h"
#include "support/process_waits.h"
#include "velmora_process.h"

#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

// Velmora never touches the network: inside a network namespace without interfaces a
// scan finds the same things and writes the same cleaned PNG, and the application
// starts and quits, without an error in the log. The test runs itself again as the
// worker that scans (once with the network, once without) and compares what each wrote.
const char *const kWorkerFolder = "VELMORA_NO_NETWORK_WORKER_FOLDER";

QStringList findingLines(const RedactionPlan &plan)
{
    QStringList lines;
    for (const RedactionPlanEntry &entry : plan.entries())
        lines << QStringLiteral("%1 | %2 | %3").arg(entry.detection.label, entry.detection.matchedText.value_or(QString()),
                                                      entry.isActive ? QStringLiteral("on") : QStringLiteral("off"));
    return lines;
}

// The worker: scans the folder's screenshot with the real engine and writes the
// findings and the cleaned PNG next to it.
void scanAsWorker(const QString &folder)
{
    const ScanPipelineResult result =
        ScanPipeline().scanFile(QDir(folder).filePath(QStringLiteral("screenshot.png")),
                                SensitiveTextDetector(CustomDetectionConfiguration()), DetectorCategoryPreferences());
    ASSERT_TRUE(writeBytes(QDir(folder).filePath(QStringLiteral("findings.txt")), findingLines(result.plan).join(u'\n').toUtf8()));
    const QImage source(QDir(folder).filePath(QStringLiteral("screenshot.png")));
    ASSERT_TRUE(writeBytes(QDir(folder).filePath(QStringLiteral("cleaned.png")),
                           RedactionRenderer::pngData(result.plan.activeDetections(), source, Qt::black)));
}

// The command that enters a namespace without network interfaces: directly as root,
// else through a user namespace. Empty when the system allows neither.
QStringList noNetworkCommand()
{
    for (const QStringList &command : {QStringList{QStringLiteral("unshare"), QStringLiteral("-n")},
                                       QStringList{QStringLiteral("unshare"), QStringLiteral("-rn")}}) {
        QProcess probe;
        probe.start(command.front(), command.mid(1) + QStringList{QStringLiteral("true")});
        if (waitUntilEnded(probe) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0)
            return command;
    }
    return {};
}

// Log lines of warnings and errors, as Qt's default message handler prints them.
QStringList errorLines(const QByteArray &log)
{
    static const QRegularExpression error(QStringLiteral("(warning|critical|fatal|error)"),
                                          QRegularExpression::CaseInsensitiveOption);
    QStringList lines;
    for (const QString &line : QString::fromUtf8(log).split(u'\n')) {
        if (error.match(line).hasMatch())
            lines << line;
    }
    return lines;
}

struct RunResult
{
    QByteArray findings;
    QByteArray cleaned;
    QByteArray log;
};

RunResult runWorker(const QStringList &prefix, const QString &folder)
{
    QProcess worker;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kWorkerFolder), folder);
    worker.setProcessEnvironment(environment);
    const QStringList self{QCoreApplication::applicationFilePath(),
                           QStringLiteral("--gtest_filter=NoNetworkTest.ScanAndApplicationAreTheSameWithoutANetwork")};
    const QStringList command = prefix + self;
    worker.start(command.front(), command.mid(1));
    EXPECT_TRUE(waitUntilEnded(worker));
    EXPECT_EQ(worker.exitCode(), 0) << worker.readAllStandardOutput().toStdString();
    return {fileBytes(QDir(folder).filePath(QStringLiteral("findings.txt"))),
            fileBytes(QDir(folder).filePath(QStringLiteral("cleaned.png"))), worker.readAllStandardError()};
}

QImage screenshot()
{
    QImage image(900, 160, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font = testing::installedFont(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(16);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(20, 50, QStringLiteral("Send the report to dana.lee@example.com today"));
    painter.drawText(20, 100, QStringLiteral("Server 10.20.30.40 refused the connection"));
    return image;
}

TEST(NoNetworkTest, ScanAndApplicationAreTheSameWithoutANetwork)
{
    if (const QByteArray folder = qgetenv(kWorkerFolder); !folder.isEmpty()) {
        scanAsWorker(QString::fromLocal8Bit(folder));
        return;
    }
    const QStringList isolated = noNetworkCommand();
    if (isolated.isEmpty())
        GTEST_SKIP() << "This system allows no network namespace (unshare -n or -rn)";

    QTemporaryDir withNetwork;
    QTemporaryDir withoutNetwork;
    for (const QTemporaryDir *folder : {&withNetwork, &withoutNetwork})
        ASSERT_TRUE(screenshot().save(folder->filePath(QStringLiteral("screenshot.png"))));
    const RunResult connected = runWorker({}, withNetwork.path());
    const RunResult isolatedRun = runWorker(isolated, withoutNetwork.path());
    EXPECT_TRUE(connected.findings.contains("dana.lee@example.com")) << connected.findings.toStdString();
    EXPECT_EQ(isolatedRun.findings, connected.findings);
    ASSERT_FALSE(connected.cleaned.isEmpty());
    EXPECT_TRUE(isolatedRun.cleaned == connected.cleaned) << "the cleaned PNGs differ";
    EXPECT_EQ(errorLines(isolatedRun.log), QStringList());

    // The application itself: it starts, shows its window and quits cleanly.
    RunningVelmora velmora({.prefix = isolated});
    ASSERT_TRUE(waitUntilStarted(velmora.process));
    ASSERT_FALSE(velmora.waitForMainWindow().isEmpty());
    velmora.process.terminate();
    ASSERT_TRUE(waitUntilEnded(velmora.process));
    EXPECT_EQ(velmora.process.exitCode(), 0);
    EXPECT_EQ(errorLines(velmora.process.readAllStandardError()), QStringList());
}

} // namespace
} // namespace velmora::test
