#pragma once

#include "app/protection/notification_permission.h"
#include "app/settings/settings_section.h"

#include <functional>
#include <optional>

class QCheckBox;
class QLabel;

namespace velmora {

class NotificationCenter;
class PolicyFileChooser;
class StoredSettings;
class VelmoraButton;

// "Screenshot Folder Watch": choose the one watched folder (the Desktop, the
// screenshots folder or any folder), switch the watch on or off, or stop it and forget
// the folder. Whenever the watch becomes active the notification permission is checked
// (asked for when never decided); the answer sets the status line and, when alerts
// cannot be shown, offers the desktop's notification settings. Every change to the
// watch posts velmoraScreenshotWatchSettingsDidChange.
class FolderWatchSection : public SettingsSection
{
    Q_OBJECT
public:
    struct Services {
        PolicyFileChooser &folders;
        NotificationCenter &notifications;
        std::function<void()> openNotificationSettings;
    };

    FolderWatchSection(StoredSettings &settings, Services services, QWidget *parent = nullptr);

    /// The toggle: on only with a folder chosen.
    void setScreenshotWatchEnabled(bool on);
    /// Runs the folder panel; a chosen folder is stored and watched.
    void chooseScreenshotWatchFolder(const QString &title, const QString &message, const QString &prompt,
                                     const std::optional<QString> &startFolder);
    /// Switches the watch off and forgets the folder.
    void stopScreenshotWatch();
    /// The window is shown: with the watch on a folder, the permission is checked again.
    void refreshOnAppear();
    /// "Watching: Desktop", "Paused: …", or how to choose a folder.
    QString screenshotWatchFolderSummary() const;

    QString statusText() const;
    bool showsNotificationSettingsRecovery() const;

private:
    bool hasFolder() const;
    void refresh();
    void setStatusText(const QString &text);
    void setShowsRecovery(bool shows);
    void checkNotificationPermission();
    /// Applied on a later turn; dropped when the watch was stopped in the meantime.
    void applyWatchNotificationStatus(NotificationPermission permission);
    void postChange();

    StoredSettings &m_settings;
    Services m_services;
    QCheckBox *m_toggle = nullptr;
    QLabel *m_summary = nullptr;
    VelmoraButton *m_stop = nullptr;
    QLabel *m_status = nullptr;
    VelmoraButton *m_recovery = nullptr;
};

} // namespace velmora
