#include "support/private_bus.h"

#include "support/file_bytes.h"
#include "support/process_waits.h"

#include <QUuid>

namespace velmora::test {

namespace {

// A session bus that starts no services on demand: a name has an owner only when a
// test gives it one (an installed notification daemon must not answer in its place).
const QByteArray configuration = R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

} // namespace

PrivateBus::PrivateBus()
{
    if (!m_configDir.isValid() || !writeBytes(m_configDir.filePath(QStringLiteral("bus.conf")), configuration))
        return;
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--config-file=") + m_configDir.filePath(QStringLiteral("bus.conf")),
                    QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (!waitUntilStarted(m_daemon))
        return;
    // The daemon prints its address once it listens.
    while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(workDeadlineMs)) {
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    for (const QString &name : std::as_const(m_connectionNames))
        QDBusConnection::disconnectFromBus(name);
    m_daemon.terminate();
    waitUntilEnded(m_daemon);
}

QDBusConnection PrivateBus::connect()
{
    const QString name = QStringLiteral("velmora-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    m_connectionNames.append(name);
    return QDBusConnection::connectToBus(m_address, name);
}

} // namespace velmora::test
