#include "app/shell/single_instance.h"

#include "app/kit/log_categories.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <memory>

#include <unistd.h>

namespace velmora {

namespace {

constexpr int kHandOverTimeoutMs = 3000;
// One path a line; a launch without files sends an empty message.
constexpr char kSeparator = '\n';

} // namespace

SingleInstance::SingleInstance(QObject *parent) : QObject(parent) {}

QString SingleInstance::socketPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("velmora-%1.socket").arg(getuid()));
}

bool SingleInstance::handOver(const QStringList &paths)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(kHandOverTimeoutMs))
        return false;
    socket.write(paths.join(QLatin1Char(kSeparator)).toUtf8());
    socket.disconnectFromServer();
    const bool sent = socket.state() == QLocalSocket::UnconnectedState
        || socket.waitForDisconnected(kHandOverTimeoutMs);
    if (!sent)
        qCWarning(lcInstance) << "The running Velmora did not take the files:" << socket.errorString();
    return sent;
}

bool SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Nothing answered handOver: a socket left behind by an instance that crashed is stale.
    QLocalServer::removeServer(socketPath());
    if (!m_server->listen(socketPath())) {
        qCWarning(lcInstance) << "Later launches cannot reach this instance:" << m_server->errorString();
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            auto message = std::make_shared<QByteArray>();
            connect(socket, &QLocalSocket::readyRead, socket, [socket, message] { message->append(socket->readAll()); });
            connect(socket, &QLocalSocket::disconnected, this, [this, socket, message] {
                message->append(socket->readAll());
                socket->deleteLater();
                emit pathsReceived(QString::fromUtf8(*message).split(QLatin1Char(kSeparator), Qt::SkipEmptyParts));
            });
        }
    });
    return true;
}

} // namespace velmora
