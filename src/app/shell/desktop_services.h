#pragma once

#include <QString>
#include <QStringList>

// What Velmora asks of the desktop beyond its own windows.
namespace velmora::desktop {

/// Shows the file (or folder) selected in the file manager; falls back to opening the
/// folder that holds it. Nothing happens when the path no longer exists.
void revealInFileManager(const QString &path);

/// The first notification settings tool found on PATH, with its arguments; empty when none.
QStringList notificationSettingsCommand();
/// Opens the desktop's notification settings; nothing happens when no tool is found.
void openNotificationSettings();

} // namespace velmora::desktop
