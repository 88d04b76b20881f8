#pragma once

#include "app/kit/desktop_services.h"

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

namespace velmora {

/// The first notification settings tool found on PATH, with its arguments; empty when none.
QStringList notificationSettingsCommand();

// The Linux desktop: the file manager through org.freedesktop.FileManager1 on the
// session bus (an asynchronous call; when no file manager answers, the folder opens
// through the desktop's URL handler), the notification settings through the first
// settings tool found, started detached.
class SystemDesktop : public DesktopServices
{
public:
    explicit SystemDesktop(QDBusConnection bus = QDBusConnection::sessionBus());

    void revealInFileManager(const QString &path) override;
    void openNotificationSettings() override;

private:
    QDBusConnection m_bus;
    /// Parent of the reveals still waiting for an answer: they end with the desktop.
    QObject m_pendingReveals;
};

} // namespace velmora
