#pragma once

#include "core/support/file_descriptor.h"

#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

namespace velmora {

// One Velmora per user session, also when several launches start at the same moment
// (files opened together from a file manager). Launches take turns at a lock file in the
// user's runtime folder, and the first becomes the instance: it locks a second file for
// as long as it runs and listens on a local socket there before the next launch takes
// its turn. A later launch hands its files to the instance over the socket, waits until
// the instance has taken them, and ends. One that finds the instance ending (its socket
// closed at quit) waits for its end and takes its place. The kernel drops the locks of a
// process that crashed; its socket, left behind, is replaced.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    /// How a launch starts.
    enum class Start {
        instance,   ///< This process is the instance: later launches reach it.
        handedOver, ///< The running instance took the files; this launch ends.
        unanswered, ///< An instance runs but did not take the files in time; this launch ends.
    };

    explicit SingleInstance(QObject *parent = nullptr);

    /// Where the running instance listens.
    static QString socketPath();

    /// Becomes the instance, or hands `paths` (possibly none) to the one running.
    Start start(const QStringList &paths);

signals:
    /// A later launch handed these paths over (empty: it only asked for the window).
    void pathsReceived(const QStringList &paths);

private:
    /// Starts answering later launches (a warning when the socket cannot be made).
    void listen();
    void receive(QLocalSocket *socket);

    FileDescriptor m_running; ///< Locked while this process is the instance.
    QLocalServer *m_server = nullptr;
};

} // namespace velmora
