#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

namespace velmora {

// One Velmora per user session: the first instance listens on a local socket in the
// user's runtime folder; a later launch hands its files to it and ends.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(QObject *parent = nullptr);

    /// Where the running instance listens.
    static QString socketPath();
    /// Hands `paths` (possibly none) to a running instance; false when none answers.
    static bool handOver(const QStringList &paths);

    /// Starts answering later launches; false when the socket cannot be made.
    bool listen();

signals:
    /// A later launch handed these paths over (empty: it only asked for the window).
    void pathsReceived(const QStringList &paths);

private:
    QLocalServer *m_server = nullptr;
};

} // namespace velmora
