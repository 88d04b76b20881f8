#include "app/protection/screen_capture_service.h"

#include "app/kit/log_categories.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QUuid>

namespace velmora {

namespace {

/// Calls `done` from the event loop, never inside the call that decided the outcome.
void deliverLater(QObject *context, const std::function<void(CaptureOutcome)> &done, const CaptureOutcome &outcome)
{
    QMetaObject::invokeMethod(context, [done, outcome] { done(outcome); }, Qt::QueuedConnection);
}

void removeIfPresent(const QString &path)
{
    if (QFileInfo::exists(path) && !QFile::remove(path))
        qCWarning(lcCapture) << "Could not remove the temporary capture" << path;
}

/// What the tool's ending means for the capture.
CaptureOutcome endingOutcome(const TaskHandle &task, QProcess &process, const QString &path)
{
    if (task.isCancelled()) {
        // A cancelled capture leaves no screenshot behind, whatever the tool wrote.
        removeIfPresent(path);
        return CaptureCancelled{};
    }
    const bool wroteFile = QFileInfo(path).isFile();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        removeIfPresent(path);
        return VelmoraCaptureError::canceled;
    }
    if (!wroteFile)
        return VelmoraCaptureError::outputMissing;
    return path;
}

} // namespace

ScreenCaptureTool ScreenCaptureTool::forThisDesktop()
{
    const bool onX11 = QGuiApplication::platformName() == QLatin1String("xcb");
    return {onX11 ? QStandardPaths::findExecutable(QStringLiteral("maim")) : QString(), [] { return true; },
            [] { return true; }, QDir::tempPath()};
}

ScreenCaptureService::ScreenCaptureService(ScreenCaptureTool tool) : m_tool(std::move(tool)) {}

QStringList ScreenCaptureService::arguments(VelmoraCaptureMode mode)
{
    switch (mode) {
    case VelmoraCaptureMode::screen:
        return {QStringLiteral("-u"), QStringLiteral("-f"), QStringLiteral("png")};
    case VelmoraCaptureMode::window:
        // A tolerance no drag reaches: every gesture is a click, which picks the window under it.
        return {QStringLiteral("-u"), QStringLiteral("-s"), QStringLiteral("-t"), QStringLiteral("9999999"),
                QStringLiteral("-f"), QStringLiteral("png")};
    case VelmoraCaptureMode::area:
        return {QStringLiteral("-u"), QStringLiteral("-s"), QStringLiteral("-t"), QStringLiteral("0"),
                QStringLiteral("-f"), QStringLiteral("png")};
    }
    return {};
}

QString ScreenCaptureService::temporaryFilePath(VelmoraCaptureMode mode) const
{
    const QString uuid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    return QDir(m_tool.temporaryFolder).filePath(QStringLiteral("velmora-capture-%1-%2.png").arg(rawValue(mode), uuid));
}

void ScreenCaptureService::capture(VelmoraCaptureMode mode, const TaskHandle &task, QObject *context,
                                   std::function<void(CaptureOutcome)> done) const
{
    const QFileInfo executable(m_tool.executablePath);
    if (m_tool.executablePath.isEmpty() || !executable.isFile() || !executable.isExecutable()) {
        deliverLater(context, done, VelmoraCaptureError::captureToolUnavailable);
        return;
    }
    if (!m_tool.preflightAccess() && !m_tool.requestAccess()) {
        deliverLater(context, done, VelmoraCaptureError::permissionDenied);
        return;
    }
    if (task.isCancelled()) {
        deliverLater(context, done, CaptureCancelled{});
        return;
    }

    const QString path = temporaryFilePath(mode);
    QFile::remove(path);

    // Not a child of anything: it outlives a closing window until the tool has ended.
    auto *process = new QProcess;
    process->setProgram(m_tool.executablePath);
    process->setArguments(arguments(mode) << path);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());

    const QPointer<QObject> receiver(context);
    const auto finish = [receiver, done](const CaptureOutcome &outcome) {
        if (receiver)
            deliverLater(receiver, done, outcome);
    };
    QObject::connect(process, &QProcess::finished, process, [process, task, path, finish] {
        process->deleteLater();
        finish(endingOutcome(task, *process, path));
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, task, path, finish](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return; // The ending follows through finished.
        process->deleteLater();
        qCWarning(lcCapture) << "The capture tool could not be started:" << process->errorString();
        removeIfPresent(path);
        finish(task.isCancelled() ? CaptureOutcome(CaptureCancelled{}) : CaptureOutcome(VelmoraCaptureError::failed));
    });
    const QPointer<QProcess> running(process);
    task.onCancel([running] {
        if (running && running->state() != QProcess::NotRunning)
            running->terminate();
    });
    process->start();
}

} // namespace velmora
