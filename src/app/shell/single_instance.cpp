#include "app/shell/single_instance.h"

#include "app/kit/log_categories.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <cerrno>
#include <memory>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace velmora {

namespace {

/// How long a launch waits for the instance to take its files; the instance may be
/// starting still, on a busy machine.
constexpr int kHandOverTimeoutMs = 30000;
// One path a line, and an empty line at the end; a launch of an older version ends its
// message by closing the connection instead, and an instance of one reads until then.
constexpr char kSeparator = '\n';
/// The instance's answer once it has taken the files.
constexpr char kTaken = 1;

/// What became of a hand-over.
enum class HandOver {
    taken,      ///< The instance took the files.
    noInstance, ///< Nothing listens, or the instance closed the connection: it is ending.
    unanswered, ///< The instance did not answer in time.
};

QString runtimeFile(const QString &suffix)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("velmora-%1.%2").arg(getuid()).arg(suffix));
}

/// A lock file in the runtime folder, made when there is none; never removed, as a lock
/// on a file removed and made anew would not exclude one on the new file.
FileDescriptor openLockFile(const QString &suffix)
{
    FileDescriptor file(::open(QFile::encodeName(runtimeFile(suffix)).constData(),
                               O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file.isOpen())
        qCWarning(lcInstance) << "Launches at the same moment may both start: no lock file:" << qt_error_string(errno);
    return file;
}

/// Locks `file`, waiting for it while another process holds it, or only when it is free.
bool lock(const FileDescriptor &file, bool wait)
{
    int result = 0;
    do
        result = ::flock(file.fd(), LOCK_EX | (wait ? 0 : LOCK_NB));
    while (result != 0 && errno == EINTR);
    return result == 0;
}

HandOver handOver(const QStringList &paths)
{
    QLocalSocket socket;
    socket.connectToServer(SingleInstance::socketPath());
    if (!socket.waitForConnected(kHandOverTimeoutMs))
        return HandOver::noInstance;
    QByteArray message;
    for (const QString &path : paths)
        message += path.toUtf8() + kSeparator;
    socket.write(message + kSeparator);
    if (!socket.waitForReadyRead(kHandOverTimeoutMs))
        return socket.state() == QLocalSocket::ConnectedState ? HandOver::unanswered : HandOver::noInstance;
    char answer = 0;
    return socket.getChar(&answer) && answer == kTaken ? HandOver::taken : HandOver::noInstance;
}

} // namespace

SingleInstance::SingleInstance(QObject *parent) : QObject(parent)
{
    // A launch from now on waits for this process's end and takes its place, rather than
    // handing its files to an instance that no longer opens them.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (m_server)
            m_server->close();
    });
}

QString SingleInstance::socketPath()
{
    return runtimeFile(QStringLiteral("socket"));
}

SingleInstance::Start SingleInstance::start(const QStringList &paths)
{
    // Held until this launch has decided, and, when it is the instance, listens.
    const FileDescriptor turn = openLockFile(QStringLiteral("starting.lock"));
    if (turn.isOpen())
        lock(turn, true);
    FileDescriptor running = openLockFile(QStringLiteral("running.lock"));
    if (!running.isOpen() || !lock(running, false)) {
        switch (handOver(paths)) {
        case HandOver::taken: return Start::handedOver;
        case HandOver::unanswered:
            qCWarning(lcInstance) << "Velmora is running but did not take the files; try again.";
            return Start::unanswered;
        case HandOver::noInstance:
            if (running.isOpen())
                lock(running, true);
            break;
        }
    }
    m_running = std::move(running);
    listen();
    return Start::instance;
}

void SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // This process holds the lock: a socket there is what an instance that crashed left.
    QLocalServer::removeServer(socketPath());
    if (!m_server->listen(socketPath())) {
        qCWarning(lcInstance) << "Later launches cannot reach this instance:" << m_server->errorString();
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection())
            receive(socket);
    });
}

void SingleInstance::receive(QLocalSocket *socket)
{
    auto taken = std::make_shared<bool>(false);
    const auto take = [this, socket, taken] {
        *taken = true;
        const QStringList paths =
            QString::fromUtf8(socket->readAll()).split(QLatin1Char(kSeparator), Qt::SkipEmptyParts);
        qCInfo(lcInstance) << "A later launch handed over" << paths;
        emit pathsReceived(paths);
    };
    connect(socket, &QLocalSocket::readyRead, this, [socket, taken, take] {
        const QByteArray message = socket->peek(socket->bytesAvailable());
        const QByteArray end(2, kSeparator);
        if (*taken || (message != end.first(1) && !message.endsWith(end)))
            return; // The rest is on its way.
        take();
        socket->putChar(kTaken);
        socket->flush();
    });
    connect(socket, &QLocalSocket::disconnected, this, [socket, taken, take] {
        if (!*taken)
            take();
        socket->deleteLater();
    });
}

} // namespace velmora
