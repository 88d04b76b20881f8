#include "xdotool.h"

#include <QProcess>
#include <QTest>

namespace velmora::test {

namespace {

constexpr int toolTimeoutMs = 10000;

bool run(QProcess &process, const QStringList &arguments)
{
    process.start(QStringLiteral("xdotool"), arguments);
    return process.waitForFinished(toolTimeoutMs) && process.exitStatus() == QProcess::NormalExit
           && process.exitCode() == 0;
}

} // namespace

bool xdotool(const QStringList &arguments)
{
    QProcess process;
    return run(process, arguments);
}

QString xdotoolOutput(const QStringList &arguments)
{
    QProcess process;
    return run(process, arguments) ? QString::fromUtf8(process.readAllStandardOutput()).trimmed() : QString();
}

QString waitForWindowTitled(const QString &titlePattern, int timeoutMs)
{
    QString id;
    const bool found = QTest::qWaitFor([&] {
        id = xdotoolOutput({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), titlePattern})
                 .section(QLatin1Char('\n'), 0, 0);
        return !id.isEmpty();
    }, timeoutMs);
    return found ? id : QString();
}

bool focusWindow(const QString &windowID)
{
    return xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), windowID});
}

} // namespace velmora::test
