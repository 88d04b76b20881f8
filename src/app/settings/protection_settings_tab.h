#pragma once

#include "core/protection/protection_status.h"

#include <QWidget>

#include <functional>

namespace velmora {

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
    };

    ProtectionSettingsTab(StoredSettings &settings, Services services, QWidget *parent = nullptr);

    /// The window is shown: the rails are read again.
    void refreshOnAppear();

signals:
    void jumpRequested(ScreenshotProtectionRail rail);

private:
    StoredSettings &m_settings;
    Services m_services;
    ProtectionStatusSection *m_status = nullptr;
};

} // namespace velmora
