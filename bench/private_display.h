#pragma once

// A private X server for the benchmark's programs (terminals, a spreadsheet, an editor)
// and what it takes to picture their windows: waiting for a program to say it is ready,
// finding, placing and focusing its window, and capturing it once it has settled.

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

namespace bench {

/// A private X server, stopped with the object.
class PrivateDisplay
{
public:
    PrivateDisplay()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
            return;
        m_server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                                QStringLiteral("0"), QStringLiteral("4000x2400x24"), QStringLiteral("-nolisten"),
                                                QStringLiteral("tcp")});
        if (m_server.waitForReadyRead(20000))
            m_display = QStringLiteral(":") + QString::fromLatin1(m_server.readLine().trimmed());
    }
    ~PrivateDisplay()
    {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }
    /// Empty when no server runs.
    const QString &name() const { return m_display; }

private:
    QProcess m_server;
    QString m_display;
};

/// The trimmed contents of `path` once a program has written it; empty after `ms`.
inline QString waitForFile(const QString &path, int ms = 20000)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < ms) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            return QString::fromLatin1(file.readAll().trimmed());
        QThread::msleep(50);
    }
    return {};
}

/// Runs an X tool (xdotool, maim) to its end and returns what it printed.
inline QByteArray runTool(const QString &tool, const QStringList &arguments, const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(tool, arguments);
    process.waitForFinished(20000);
    return process.readAllStandardOutput();
}

/// The first visible window whose name contains `name`, once it is mapped; empty after
/// `ms`.
inline QString waitForWindowNamed(const QString &name, const QProcessEnvironment &environment, int ms = 60000)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < ms) {
        const QByteArray found = runTool(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                                     QStringLiteral("--name"), name}, environment);
        if (!found.trimmed().isEmpty())
            return QString::fromLatin1(found.trimmed().split('\n').front());
        QThread::msleep(200);
    }
    return {};
}

/// Puts `window` at the top left corner with the given size and gives it the keyboard.
inline void placeWindow(const QString &window, const QSize &size, const QProcessEnvironment &environment)
{
    runTool(QStringLiteral("xdotool"), {QStringLiteral("windowmove"), window, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("windowsize"),
                                        window, QString::number(size.width()), QString::number(size.height()), QStringLiteral("windowfocus"), window},
            environment);
}

/// The window's picture once `agreeing` captures in a row, `pause` ms apart, agree (the
/// program has drawn); a null image when it never settles.
inline QImage steadyCapture(const QString &window, const QProcessEnvironment &environment, int agreeing = 2, int pause = 100)
{
    QImage previous;
    int same = 1;
    for (int attempt = 0; attempt < 60; ++attempt) {
        QImage image;
        image.loadFromData(runTool(QStringLiteral("maim"), {QStringLiteral("-u"), QStringLiteral("-f"), QStringLiteral("png"), QStringLiteral("-i"), window},
                                   environment),
                           "PNG");
        image = image.convertToFormat(QImage::Format_RGB32);
        same = !image.isNull() && image == previous ? same + 1 : 1;
        if (same >= agreeing)
            return image;
        previous = image;
        QThread::msleep(pause);
    }
    return {};
}

} // namespace bench
