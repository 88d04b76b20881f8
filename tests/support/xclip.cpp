#include "xclip.h"

#include "support/event_loop.h"

#include <QProcess>

namespace velmora::test {

namespace {

// Runs xclip to its end while the event loop keeps serving this process's own selection.
QByteArray runXclip(const QStringList &arguments, const QByteArray &input, bool *ok)
{
    QProcess process;
    process.setProgram(QStringLiteral("xclip"));
    process.setArguments(arguments);
    // When offering, xclip leaves a child behind that serves the selection; it must not
    // hold our pipes open.
    if (input.isNull())
        process.setStandardErrorFile(QProcess::nullDevice());
    else
        process.setStandardOutputFile(QProcess::nullDevice());
    process.start();
    if (!input.isNull()) {
        process.write(input);
        process.closeWriteChannel();
    }
    const bool finished = waitUntil([&] { return process.state() == QProcess::NotRunning; }, "xclip to end");
    if (!finished)
        process.kill();
    *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return input.isNull() ? process.readAllStandardOutput() : QByteArray();
}

} // namespace

bool xclipOffer(const QString &target, const QByteArray &bytes)
{
    bool ok = false;
    runXclip({QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"), target,
              QStringLiteral("-i")},
             bytes.isNull() ? QByteArray("") : bytes, &ok);
    return ok;
}

QByteArray xclipRead(const QString &target)
{
    bool ok = false;
    const QByteArray bytes = runXclip({QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"),
                                       target, QStringLiteral("-o")},
                                      QByteArray(), &ok);
    return ok ? bytes : QByteArray();
}

QStringList xclipTargets()
{
    static const QStringList protocolTargets{QStringLiteral("TARGETS"), QStringLiteral("MULTIPLE"),
                                             QStringLiteral("TIMESTAMP"), QStringLiteral("SAVE_TARGETS")};
    QStringList targets;
    for (const QByteArray &line : xclipRead(QStringLiteral("TARGETS")).split('\n')) {
        const QString target = QString::fromUtf8(line.trimmed());
        if (!target.isEmpty() && !protocolTargets.contains(target))
            targets.append(target);
    }
    return targets;
}

} // namespace velmora::test
