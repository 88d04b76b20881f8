#include "app/window/help_sheet_presenter.h"

#include "app/help/velmora_help_center_view.h"
#include "app/help/velmora_onboarding_view.h"
#include "app/kit/support_contact.h"
#include "app/kit/window_placement.h"
#include "app/window/help_sheet_dialog.h"
#include "app/window/help_sheet_host.h"

namespace velmora {

HelpSheetPresenter::HelpSheetPresenter(HelpSheetHost &host, QWidget *anchor)
    : QObject(anchor), m_host(host), m_anchor(anchor)
{
    connect(&m_host, &HelpSheetHost::activeHelpSheetChanged, this, &HelpSheetPresenter::present);
}

void HelpSheetPresenter::present(std::optional<VelmoraHelpSheet> sheet)
{
    if (m_dialog) {
        // Deleted later: the sheet may be inside one of its own button handlers.
        m_dialog->hide();
        m_dialog->deleteLater();
        m_dialog = nullptr;
        if (!sheet)
            m_host.handleHelpSheetDismiss();
    }
    if (!sheet)
        return;
    m_dialog = *sheet == VelmoraHelpSheet::onboarding ? makeOnboardingSheet() : makeHelpCenterSheet();
    keepCentredOver(*m_dialog, m_anchor);
    m_dialog->open();
}

HelpSheetDialog *HelpSheetPresenter::makeOnboardingSheet()
{
    auto *view = new VelmoraOnboardingView({[this] { m_host.completeOnboarding(); },
                                            [this] { m_host.trySampleFromOnboarding(); },
                                            [this] { m_host.openHelpFromOnboarding(); }});
    return new HelpSheetDialog(view, tr("Quick Start"),
                               {[this] { m_host.completeOnboarding(); }, [this] { m_host.handleHelpSheetDismiss(); }},
                               m_anchor->window());
}

HelpSheetDialog *HelpSheetPresenter::makeHelpCenterSheet()
{
    VelmoraHelpCenterView::Callbacks callbacks;
    callbacks.onShowQuickStart = [this] { m_host.switchHelpSheet(VelmoraHelpSheet::onboarding); };
    if (m_host.canOpenSettings())
        callbacks.onOpenSettings = [this] { m_host.openSettingsFromHelp(); };
    callbacks.onClose = [this] { m_host.closeHelpSheet(); };
    auto *view = new VelmoraHelpCenterView(std::move(callbacks), HelpTopic::gettingStarted, supportContactURL());
    return new HelpSheetDialog(view, tr("Velmora Help Center"),
                               {[this] { m_host.closeHelpSheet(); }, [this] { m_host.handleHelpSheetDismiss(); }},
                               m_anchor->window());
}

} // namespace velmora
