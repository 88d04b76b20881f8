#pragma once

#include "core/protection/protection_status.h"

#include <QWidget>

#include <functional>

namespace velmora {

class CaptureOutputSection;
class ClipboardProtectionSection;
class FolderWatchSection;
class NotificationCenter;
class PolicyFileChooser;
class ProtectionRuntime;
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
        /// Shows a message on the window's general status line.
        std::function<void(const QString &)> showStatus;
        /// How the main window's protections run, when known.
        const ProtectionRuntime *runtime = nullptr;
    };

    ProtectionSettingsTab(StoredSettings &settings, const Services &services, QWidget *parent = nullptr);

    FolderWatchSection *folderWatch() const { return m_folderWatch; }
    ClipboardProtectionSection *clipboardProtection() const { return m_clipboard; }
    CaptureOutputSection *captureOutput() const { return m_captureOutput; }
    /// The window is shown: the rails are read again and, with the watch on a folder,
    /// the notification permission is checked.
    void refreshOnAppear();

signals:
    void jumpRequested(ScreenshotProtectionRail rail);

private:
    ProtectionStatusSection *m_status = nullptr;
    FolderWatchSection *m_folderWatch = nullptr;
    ClipboardProtectionSection *m_clipboard = nullptr;
    CaptureOutputSection *m_captureOutput = nullptr;
};

} // namespace velmora
