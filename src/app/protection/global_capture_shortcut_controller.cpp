#include "app/protection/global_capture_shortcut_controller.h"

#include "core/protection/capture_shortcut_settings.h"
#include "core/settings/stored_settings.h"

#include <QPointer>

namespace velmora {

namespace {

QPointer<GlobalCaptureShortcutController> &activeController()
{
    static QPointer<GlobalCaptureShortcutController> controller;
    return controller;
}

} // namespace

QString CaptureShortcutStatus::registrationFailed(const QStringList &failures)
{
    return QStringLiteral("Could not register %1. Choose another shortcut or use the menu bar fallback.")
        .arg(failures.join(QStringLiteral(", ")));
}

GlobalCaptureShortcutController::GlobalCaptureShortcutController(StoredSettings &settings,
                                                                 std::unique_ptr<HotKeyGrabber> grabber, QObject *parent)
    : QObject(parent), m_settings(settings), m_grabber(std::move(grabber))
{
}

GlobalCaptureShortcutController::~GlobalCaptureShortcutController()
{
    unregisterAll();
    removeEventHandler();
}

GlobalCaptureShortcutController *GlobalCaptureShortcutController::active()
{
    return activeController();
}

void GlobalCaptureShortcutController::setActive(GlobalCaptureShortcutController *controller)
{
    activeController() = controller;
}

void GlobalCaptureShortcutController::dispatch(std::optional<VelmoraCaptureMode> mode)
{
    GlobalCaptureShortcutController *controller = active();
    if (!mode || !controller || !controller->m_onShortcut)
        return;
    controller->m_onShortcut(*mode);
}

void GlobalCaptureShortcutController::installEventHandler()
{
    if (m_listenerInstalled)
        return;
    m_listenerInstalled = m_grabber->installListener([](int hotKeyID) { dispatch(captureModeFromHotKeyID(hotKeyID)); });
    if (!m_listenerInstalled)
        writeStatus(CaptureShortcutStatus::noListener);
}

void GlobalCaptureShortcutController::removeEventHandler()
{
    if (!m_listenerInstalled)
        return;
    m_grabber->removeListener();
    m_listenerInstalled = false;
}

void GlobalCaptureShortcutController::registerShortcuts()
{
    unregisterAll();
    // Without a listener no hot key could ever fire: say so rather than "active".
    if (!m_listenerInstalled) {
        writeStatus(CaptureShortcutStatus::noListener);
        return;
    }
    const auto settings = VelmoraCaptureShortcutSettings::current(m_settings);
    if (settings.hasConflicts()) {
        writeStatus(CaptureShortcutStatus::duplicates);
        return;
    }
    QStringList failures;
    for (const auto &[mode, choice] : settings.enabledAssignments()) {
        if (m_grabber->grab(captureModeInfo(mode).hotKeyID, choice))
            m_registered.append(mode);
        else
            failures << QStringLiteral("Capture %1: %2").arg(rawValue(mode), captureShortcutChoiceInfo(choice).title);
    }
    writeStatus(failures.isEmpty() ? CaptureShortcutStatus::active : CaptureShortcutStatus::registrationFailed(failures));
}

void GlobalCaptureShortcutController::unregisterAll()
{
    for (const VelmoraCaptureMode mode : std::as_const(m_registered))
        m_grabber->release(captureModeInfo(mode).hotKeyID);
    m_registered.clear();
}

void GlobalCaptureShortcutController::writeStatus(const QString &sentence)
{
    m_settings.setValue(Setting::captureShortcutRegistrationStatus, sentence);
}

} // namespace velmora
