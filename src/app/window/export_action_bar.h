#pragma once

#include <QWidget>

class QCheckBox;
class QHBoxLayout;
class QLabel;

namespace velmora {

class ReviewController;
class VelmoraButton;

// The output strip along the bottom of the main window: the on-device note, the
// window's protection pills and watched-alerts menu, the window's banner, then (for a
// batch of two or more) "Include safe" and "Export batch", and Copy and "Export cleaned copy". Every button
// passes the review gate through the controller. The controls' object names are their
// identifiers ("copy-redacted-button", ...). The window places it below a divider.
class ExportActionBar : public QWidget
{
    Q_OBJECT
public:
    explicit ExportActionBar(ReviewController &controller, QWidget *parent = nullptr);

    /// Puts the window's protection pills and its watched-alerts menu after the note, and
    /// its banner in the free middle, before the output controls; each keeps its own
    /// visibility. Any may be null.
    void placeStatusWidgets(QWidget *ambientModePills, QWidget *watchedAlertsMenu, QWidget *banner = nullptr);

private:
    void refresh();

    ReviewController &m_controller;
    QHBoxLayout *m_layout = nullptr;
    QLabel *m_localOnlyNote = nullptr;
    QCheckBox *m_includeSafe = nullptr;
    VelmoraButton *m_exportBatch = nullptr;
    VelmoraButton *m_copy = nullptr;
    VelmoraButton *m_export = nullptr;
};

} // namespace velmora
