#pragma once

#include "app/settings/settings_section.h"

#include <functional>

class QComboBox;
class QLabel;

namespace velmora {

class PolicyFileChooser;
class StoredSettings;
class VelmoraButton;

// "Capture Output": what a scanned capture turns into, the AutoClean safety mode and
// the folder save modes write to. The capture flow reads these when it runs, so
// nothing is posted; the folder's messages go to the window's general status line.
class CaptureOutputSection : public SettingsSection
{
    Q_OBJECT
public:
    struct Services {
        PolicyFileChooser &folders;
        std::function<void(const QString &)> showStatus;
    };

    CaptureOutputSection(StoredSettings &settings, Services services, QWidget *parent = nullptr);

    void chooseCaptureOutputFolder();
    void clearCaptureOutputFolder();
    QString captureOutputSummary() const;
    QString captureOutputFolderSummary() const;

private:
    void refresh();

    StoredSettings &m_settings;
    Services m_services;
    QComboBox *m_mode = nullptr;
    QComboBox *m_safety = nullptr;
    QLabel *m_summary = nullptr;
    VelmoraButton *m_clear = nullptr;
    QLabel *m_folderSummary = nullptr;
};

} // namespace velmora
