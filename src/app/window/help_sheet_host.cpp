#include "app/window/help_sheet_host.h"

#include "core/settings/stored_settings.h"
#include "core/support/clock.h"

namespace velmora {

namespace {
constexpr std::chrono::milliseconds kSwitchDelay{250};
constexpr std::chrono::milliseconds kSampleDelay{350};
} // namespace

HelpSheetHost::HelpSheetHost(StoredSettings &settings, Clock &clock, Actions actions, QObject *parent)
    : QObject(parent), m_settings(settings), m_clock(clock), m_actions(std::move(actions))
{
}

bool HelpSheetHost::didCompleteOnboarding() const
{
    return m_settings.value(Setting::didCompleteOnboarding);
}

void HelpSheetHost::setDidCompleteOnboarding()
{
    m_settings.setValue(Setting::didCompleteOnboarding, true);
}

void HelpSheetHost::setActive(std::optional<VelmoraHelpSheet> sheet)
{
    if (m_active == sheet)
        return;
    m_active = sheet;
    emit activeHelpSheetChanged(sheet);
}

void HelpSheetHost::presentHelpSheet(VelmoraHelpSheet sheet)
{
    m_lastPresented = sheet;
    setActive(sheet);
}

void HelpSheetHost::showHelpSheet(VelmoraHelpSheet sheet)
{
    presentHelpSheet(sheet);
}

void HelpSheetHost::switchHelpSheet(VelmoraHelpSheet sheet)
{
    setActive(std::nullopt);
    m_clock.schedule(kSwitchDelay, [this, sheet] { presentHelpSheet(sheet); });
}

void HelpSheetHost::closeHelpSheet()
{
    setActive(std::nullopt);
}

void HelpSheetHost::handleHelpSheetDismiss()
{
    if (m_lastPresented == VelmoraHelpSheet::onboarding)
        setDidCompleteOnboarding();
    m_lastPresented.reset();
    setActive(std::nullopt);
}

void HelpSheetHost::completeOnboarding()
{
    setDidCompleteOnboarding();
    setActive(std::nullopt);
}

void HelpSheetHost::trySampleFromOnboarding()
{
    setDidCompleteOnboarding();
    setActive(std::nullopt);
    m_clock.schedule(kSampleDelay, [this] {
        if (m_actions.loadQuickStartSample)
            m_actions.loadQuickStartSample();
    });
}

void HelpSheetHost::openHelpFromOnboarding()
{
    setDidCompleteOnboarding();
    switchHelpSheet(VelmoraHelpSheet::helpCenter);
}

void HelpSheetHost::setSettingsWindowOpener(std::function<void()> openSettingsWindow)
{
    m_actions.openSettingsWindow = std::move(openSettingsWindow);
}

void HelpSheetHost::openSettingsFromHelp()
{
    setActive(std::nullopt);
    m_clock.schedule(kSwitchDelay, [this] {
        if (m_actions.openSettingsWindow)
            m_actions.openSettingsWindow();
    });
}

void HelpSheetHost::presentOnboardingIfNeeded()
{
    if (didCompleteOnboarding() || m_active)
        return;
    m_clock.schedule(std::chrono::milliseconds(0), [this] {
        if (!didCompleteOnboarding() && !m_active)
            presentHelpSheet(VelmoraHelpSheet::onboarding);
    });
}

} // namespace velmora
