#include "xdotool.h"

#include "support/process_waits.h"

#include <QProcess>

namespace velmora::test {

namespace {

bool run(QProcess &process, const QStringList &arguments)
{
    process.start(QStringLiteral("xdotool"), arguments);
    return waitUntilEnded(process) && process.exitStatus() == QProcess::NormalExit
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

QString windowTitled(const QString &titlePattern)
{
    return xdotoolOutput({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), titlePattern})
        .section(QLatin1Char('\n'), 0, 0);
}

QString waitForWindowTitled(const QString &titlePattern)
{
    QString id;
    const bool found = waitUntil([&] { return !(id = windowTitled(titlePattern)).isEmpty(); },
                                 "a window titled " + titlePattern.toStdString());
    return found ? id : QString();
}

bool focusWindow(const QString &windowID)
{
    return xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), windowID});
}

} // namespace velmora::test
