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
class ProtectionRuntime;
class StoredSettings;
class VelmoraButton;

// "Screenshot Folder Watch": choose the one watched folder (the Desktop, the
// screenshots folder or any folder), switch the watch on or off, or stop it and forget
// the folder. Whenever the watch becomes active the notification permission is checked
// (asked for when never decided); the answer sets the status line and, when alerts
// cannot be shown, offers the desktop's notification settings. A watch switched on
// that does not run says why instead. The main window restarts its watch after every
// stored change to it.
class FolderWatchSection : public SettingsSection
{
    Q_OBJECT
public:
    struct Services {
        PolicyFileChooser &folders;
        NotificationCenter &notifications;
        std::function<void()> openNotificationSettings;
        /// How the main window's watch runs, when known.
        const ProtectionRuntime *runtime = nullptr;
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
    /// "Watching: Desktop", "Stopped: …" (switched on but not running), "Paused: …", or how
    /// to choose a folder.
    QString screenshotWatchFolderSummary() const;

    /// The last message of the section, or why the watch switched on does not run.
    QString statusText() const;
    bool showsNotificationSettingsRecovery() const;

private:
    bool hasFolder() const;
    /// Why the watch switched on with a folder does not run; nothing while it runs.
    std::optional<QString> haltSentence() const;
    void refresh();
    void setStatusText(const QString &text);
    /// The halt's sentence wins over the section's last message.
    void showStatus();
    void setShowsRecovery(bool shows);
    void checkNotificationPermission();
    /// Applied on a later turn; dropped when the watch was stopped in the meantime.
    void applyWatchNotificationStatus(NotificationPermission permission);

    StoredSettings &m_settings;
    Services m_services;
    QCheckBox *m_toggle = nullptr;
    QLabel *m_summary = nullptr;
    VelmoraButton *m_stop = nullptr;
    QLabel *m_status = nullptr;
    VelmoraButton *m_recovery = nullptr;
    QString m_message; ///< The last message of the section's own actions.
    bool m_offersRecovery = false; ///< The message is about notifications that cannot be shown.
};

} // namespace velmora
