#pragma once

#include "app/protection/hot_key_grabber.h"
#include "core/protection/capture_mode.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace velmora {

class StoredSettings;

namespace CaptureShortcutStatus {
inline const QString active = QStringLiteral("Capture shortcuts are active.");
inline const QString duplicates =
    QStringLiteral("Resolve duplicate capture shortcuts before Velmora can register them globally.");
inline const QString noListener =
    QStringLiteral("Could not install the shortcut listener. Use the menu bar capture actions.");
/// "Could not register Capture screen: Alt-Shift-3, .... Choose another shortcut or use the menu bar fallback."
QString registrationFailed(const QStringList &failures);
} // namespace CaptureShortcutStatus

// Makes the enabled capture shortcuts work system-wide, also while another program
// is in front: one hot key per enabled capture mode, each press handed to
// `onShortcut` as the mode, outside the platform's event handling. Every
// registration attempt leaves one sentence under the stored registration status key,
// where the settings window shows it. One per main window, driven by it: install the
// listener and register when the window is shown, register again when the stored
// shortcuts change, unregister and remove the listener when it goes away.
class GlobalCaptureShortcutController : public QObject
{
    Q_OBJECT
public:
    GlobalCaptureShortcutController(StoredSettings &settings, std::unique_ptr<HotKeyGrabber> grabber,
                                    QObject *parent = nullptr);
    /// Releases whatever is still registered and the listener.
    ~GlobalCaptureShortcutController() override;

    void setOnShortcut(std::function<void(VelmoraCaptureMode)> onShortcut) { m_onShortcut = std::move(onShortcut); }

    /// The controller that receives presses; none when no window listens.
    static GlobalCaptureShortcutController *active();
    static void setActive(GlobalCaptureShortcutController *controller);
    /// Hands a mode to the active controller's callback; drops it without a mode,
    /// without an active controller or without a callback.
    static void dispatch(std::optional<VelmoraCaptureMode> mode);

    /// Installs the listener once; a failure is written as the status.
    void installEventHandler();
    void removeEventHandler();
    bool hasEventHandler() const { return m_listenerInstalled; }
    /// Unregisters, then registers the stored shortcuts and writes the status.
    void registerShortcuts();
    void unregisterAll();
    /// The modes whose hot keys are registered, in registration order.
    const QList<VelmoraCaptureMode> &registeredModes() const { return m_registered; }

private:
    void writeStatus(const QString &sentence);

    StoredSettings &m_settings;
    std::unique_ptr<HotKeyGrabber> m_grabber;
    std::function<void(VelmoraCaptureMode)> m_onShortcut;
    QList<VelmoraCaptureMode> m_registered;
    bool m_listenerInstalled = false;
};

} // namespace velmora
