#pragma once

#include "app/kit/desktop_services.h"
#include "app/protection/notification_center.h"
#include "app/settings/settings_tab.h"
#include "core/protection/protection_status.h"

#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <functional>

class QLabel;
class QScrollArea;
class QStackedWidget;
class QWindow;

namespace velmora {

class CommandBus;
class DetectionSettingsTab;
class PolicyFileChooser;
class PrivacySettingsTab;
class ProtectionRuntime;
class ProtectionSettingsTab;
class SegmentedPicker;
class StoredSettings;

// The settings window: a pinned tab picker over one scrolling form per tab. Every
// control writes its stored setting at once (there is no Apply step); status texts
// live as long as the window. It opens on Detection at the top; switching tabs,
// another window becoming active, and velmoraOpenDetectionSettings (which also shows
// Detection) drop editor focus and return the form to its top.
class SettingsWindow : public QWidget
{
    Q_OBJECT
public:
    struct Services {
        PolicyFileChooser &policyFiles;
        std::function<void(const QUrl &)> openLink;
        /// The screen capture preflight; X11 has no such permission, so it answers yes.
        std::function<bool()> captureAllowed = [] { return true; };
        NotificationCenter &notifications = NotificationCenter::none();
        /// Where the notification settings open.
        DesktopServices &desktop = DesktopServices::none();
        /// How the main window's protections run; without it the rails read the settings only.
        const ProtectionRuntime *protectionRuntime = nullptr;
    };

    /// The window posts and observes its app-wide commands on `commands`.
    SettingsWindow(StoredSettings &settings, CommandBus &commands, Services services, QWidget *parent = nullptr);

    SettingsTab selectedTab() const { return m_selected; }
    void selectTab(SettingsTab tab);
    QScrollArea *scrollArea(SettingsTab tab) const;
    DetectionSettingsTab *detectionTab() const { return m_detection; }
    PrivacySettingsTab *privacyTab() const { return m_privacy; }
    ProtectionSettingsTab *protectionTab() const { return m_protection; }
    /// Shows the rail's tab, then scrolls the section where it is set up to the top.
    void jumpToSection(ScreenshotProtectionRail rail);

protected:
    void showEvent(QShowEvent *event) override;

private:
    /// Above the tabs, while the settings cannot be saved: why.
    void showSaveFailure();
    void addPage(SettingsTab tab, QWidget *page);
    void scrollToTop();
    void scrollToSection(SettingsTab tab, const QString &anchor);
    void clearEditorFocus();
    void onFocusWindowChanged(QWindow *window);

    StoredSettings &m_settings;
    CommandBus &m_commands;
    Services m_services;
    SegmentedPicker *m_picker = nullptr;
    QLabel *m_saveFailure = nullptr;
    QStackedWidget *m_pages = nullptr;
    DetectionSettingsTab *m_detection = nullptr;
    PrivacySettingsTab *m_privacy = nullptr;
    ProtectionSettingsTab *m_protection = nullptr;
    SettingsTab m_selected = SettingsTab::detection;
    QPointer<QWindow> m_focusWindow;
};

} // namespace velmora
