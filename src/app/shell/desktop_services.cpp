#include "app/shell/desktop_services.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace velmora::desktop {

void revealInFileManager(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.FileManager1"),
                                                       QStringLiteral("/org/freedesktop/FileManager1"),
                                                       QStringLiteral("org.freedesktop.FileManager1"),
                                                       QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(info.absoluteFilePath()).toString()} << QString();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage)
        QDesktopServices::openUrl(QUrl::fromLocalFile(info.isDir() ? info.absoluteFilePath() : info.absolutePath()));
}

QStringList notificationSettingsCommand()
{
    const QList<QStringList> candidates{
        {QStringLiteral("gnome-control-center"), QStringLiteral("notifications")},
        {QStringLiteral("systemsettings"), QStringLiteral("kcm_notifications")},
        {QStringLiteral("xfce4-notifyd-config")},
    };
    for (const QStringList &candidate : candidates) {
        if (!QStandardPaths::findExecutable(candidate.first()).isEmpty())
            return candidate;
    }
    return {};
}

void openNotificationSettings()
{
    QStringList command = notificationSettingsCommand();
    if (command.isEmpty())
        return;
    const QString program = command.takeFirst();
    QProcess::startDetached(program, command);
}

} // namespace velmora::desktop
