#include "app/kit/system_desktop.h"

#include "app/kit/log_categories.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace velmora {

namespace {

constexpr int kFileManagerTimeoutMs = 2000;

} // namespace

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

SystemDesktop::SystemDesktop(QDBusConnection bus) : m_bus(std::move(bus)) {}

void SystemDesktop::revealInFileManager(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.FileManager1"),
                                                       QStringLiteral("/org/freedesktop/FileManager1"),
                                                       QStringLiteral("org.freedesktop.FileManager1"),
                                                       QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(info.absoluteFilePath()).toString()} << QString();
    const QUrl folder = QUrl::fromLocalFile(info.isDir() ? info.absoluteFilePath() : info.absolutePath());
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kFileManagerTimeoutMs), &m_pendingReveals);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [watcher, folder] {
        if (watcher->isError()) {
            qCInfo(lcDesktop) << "No file manager showed the item, opening its folder:" << watcher->error().name();
            QDesktopServices::openUrl(folder);
        }
        watcher->deleteLater();
    });
}

void SystemDesktop::openNotificationSettings()
{
    QStringList command = notificationSettingsCommand();
    if (command.isEmpty())
        return;
    const QString program = command.takeFirst();
    if (!QProcess::startDetached(program, command))
        qCWarning(lcDesktop) << "The notification settings did not start:" << program;
}

} // namespace velmora
