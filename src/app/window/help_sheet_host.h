#pragma once

#include "app/review/review_model_enums.h"

#include <QObject>

#include <functional>
#include <optional>

namespace velmora {

class Clock;
class StoredSettings;

// Which help sheet the main window shows, and the moves between sheets: the
// onboarding sheet and the help centre replace each other by dismissing first and
// presenting the next 0.25 s later; the Quick Start sample loads 0.35 s after the
// onboarding sheet closes. The delayed steps are never cancelled. Dismissing the
// onboarding sheet, however it happens, completes onboarding.
class HelpSheetHost : public QObject
{
    Q_OBJECT
public:
    struct Actions {
        std::function<void()> loadQuickStartSample;
        std::function<void()> openSettingsWindow;
    };

    HelpSheetHost(StoredSettings &settings, Clock &clock, Actions actions, QObject *parent = nullptr);

    std::optional<VelmoraHelpSheet> activeHelpSheet() const { return m_active; }
    std::optional<VelmoraHelpSheet> lastPresentedHelpSheet() const { return m_lastPresented; }
    bool didCompleteOnboarding() const;
    /// Whether the help centre can offer to open the settings window.
    bool canOpenSettings() const { return bool(m_actions.openSettingsWindow); }
    /// How the help centre's Settings button opens the settings window; none hides it.
    void setSettingsWindowOpener(std::function<void()> openSettingsWindow);

    void presentHelpSheet(VelmoraHelpSheet sheet);
    /// Replaces whatever sheet is up at once (the Help menu's commands).
    void showHelpSheet(VelmoraHelpSheet sheet);
    void switchHelpSheet(VelmoraHelpSheet sheet);
    void closeHelpSheet();
    /// The sheet went away, by a button or by Escape.
    void handleHelpSheetDismiss();
    void completeOnboarding();
    void trySampleFromOnboarding();
    void openHelpFromOnboarding();
    void openSettingsFromHelp();
    /// Presents onboarding on the next turn when it was never completed and no sheet is up.
    void presentOnboardingIfNeeded();

signals:
    void activeHelpSheetChanged(std::optional<velmora::VelmoraHelpSheet> sheet);

private:
    void setActive(std::optional<VelmoraHelpSheet> sheet);
    void setDidCompleteOnboarding();

    StoredSettings &m_settings;
    Clock &m_clock;
    Actions m_actions;
    std::optional<VelmoraHelpSheet> m_active;
    std::optional<VelmoraHelpSheet> m_lastPresented;
};

} // namespace velmora
