#pragma once

#include "app/review/review_model_enums.h"
#include "app/window/help_sheet_dialog.h"

#include <QObject>
#include <QPointer>

#include <optional>

class QWidget;

namespace velmora {

class HelpSheetHost;

// Puts the help sheet the host names on screen over the main window: the onboarding
// sheet or the help centre, wired to the host's operations. A sheet that goes away,
// however it goes, is reported to the host as dismissed.
class HelpSheetPresenter : public QObject
{
    Q_OBJECT
public:
    /// The sheets open over `anchor`'s window.
    HelpSheetPresenter(HelpSheetHost &host, QWidget *anchor);

    /// The sheet on screen, or null.
    HelpSheetDialog *dialog() const { return m_dialog; }

private:
    void present(std::optional<VelmoraHelpSheet> sheet);
    HelpSheetDialog *makeOnboardingSheet();
    HelpSheetDialog *makeHelpCenterSheet();

    HelpSheetHost &m_host;
    QWidget *m_anchor;
    QPointer<HelpSheetDialog> m_dialog;
};

} // namespace velmora
