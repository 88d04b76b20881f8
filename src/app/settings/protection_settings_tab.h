#pragma once

#include "core/protection/protection_status.h"

#include <QWidget>

#include <functional>

namespace velmora {

class FolderWatchSection;
class NotificationCenter;
class PolicyFileChooser;
class ProtectionStatusSection;
class StoredSettings;

// The Protection tab of the settings window: the protection rails, then where each
// protection is set up. Every control writes its stored setting at once.
class ProtectionSettingsTab : public QWidget
{
    Q_OBJECT
public:
    struct Services {
        std::function<bool()> captureAllowed;
        PolicyFileChooser &folders;
        NotificationCenter &notifications;
        std::function<void()> openNotificationSettings;
    };

    ProtectionSettingsTab(StoredSettings &settings, Services services, QWidget *parent = nullptr);

    FolderWatchSection *folderWatch() const { return m_folderWatch; }
    /// The window is shown: the rails are read again and, with the watch on a folder,
    /// the notification permission is checked.
    void refreshOnAppear();

signals:
    void jumpRequested(ScreenshotProtectionRail rail);

private:
    StoredSettings &m_settings;
    Services m_services;
    ProtectionStatusSection *m_status = nullptr;
    FolderWatchSection *m_folderWatch = nullptr;
};

} // namespace velmora
