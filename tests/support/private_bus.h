#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace velmora::test {

// A D-Bus daemon of the test's own, so that names registered on it meet nothing of
// the desktop's session. Connections made through it are closed with it.
class PrivateBus
{
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    /// Whether the daemon is up and told its address.
    bool isRunning() const { return !m_address.isEmpty(); }
    QString address() const { return m_address; }
    /// A new connection to the daemon, named uniquely in this process.
    QDBusConnection connect();

private:
    QTemporaryDir m_configDir;
    QProcess m_daemon;
    QString m_address;
    QStringList m_connectionNames;
};

} // namespace velmora::test
