#pragma once

#include "app/settings/settings_section.h"
#include "app/settings/settings_tab.h"
#include "core/protection/protection_status.h"

#include <functional>

namespace velmora {

class ProtectionRuntime;
class ProtectionStatusRow;
class StoredSettings;

/// Where a rail's Configure button leads: a tab and the section scrolled to its top.
struct ProtectionRailTarget
{
    SettingsTab tab;
    QString anchor; ///< The object name of the section.
};
ProtectionRailTarget protectionRailTarget(ScreenshotProtectionRail rail);

// "Screenshot Protection": one rail per protection, read from the stored settings, the
// screen capture preflight and the protections' runtime again whenever one changes.
class ProtectionStatusSection : public SettingsSection
{
    Q_OBJECT
public:
    /// `captureAllowed` is the screen capture preflight; it never prompts. `runtime`, when
    /// given, tells which protections switched on do not run.
    ProtectionStatusSection(StoredSettings &settings, std::function<bool()> captureAllowed,
                            const ProtectionRuntime *runtime = nullptr, QWidget *parent = nullptr);

    /// Reads the settings and the runtime again and shows the four rails.
    void refresh();

signals:
    void jumpRequested(ScreenshotProtectionRail rail);

private:
    StoredSettings &m_settings;
    std::function<bool()> m_captureAllowed;
    const ProtectionRuntime *m_runtime = nullptr;
    QList<ProtectionStatusRow *> m_rows;
};

} // namespace velmora
