#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QVBoxLayout;

namespace velmora {

class PolicyFileChooser;
class StoredSettings;
class VelmoraButton;

// The Privacy tab of the settings window: the portable policy file (export, import and
// their status line) and the local safe-share history with Clear History. The history
// shows the store as last loaded (reload), at most the eight newest records.
class PrivacySettingsTab : public QWidget
{
    Q_OBJECT
public:
    /// `imported` runs after a successful import (the detection settings are announced).
    PrivacySettingsTab(StoredSettings &settings, PolicyFileChooser &chooser, std::function<void()> imported,
                       QWidget *parent = nullptr);

    void exportPolicySettings();
    void importPolicySettings();
    void clearSafeShareHistory();
    /// Loads the stored history again and lists it.
    void reload();
    QString statusText() const;
    /// The general status line: the portable file's and the capture folder's messages.
    void setStatusText(const QString &text);

private:
    QWidget *buildPortabilitySection();
    QWidget *buildHistorySection();

    StoredSettings &m_settings;
    PolicyFileChooser &m_chooser;
    std::function<void()> m_imported;
    QLabel *m_status = nullptr;
    QLabel *m_historyEmpty = nullptr;
    QWidget *m_historyList = nullptr;
    QVBoxLayout *m_historyRows = nullptr;
    VelmoraButton *m_clearHistory = nullptr;
};

} // namespace velmora
