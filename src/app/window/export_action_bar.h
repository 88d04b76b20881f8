#pragma once

#include <QWidget>

class QCheckBox;
class QHBoxLayout;
class QLabel;

namespace velmora {

class VelmoraButton;

/// What the output strip shows: whether the image and the batch may be shared now, and
/// the batch's controls.
struct ExportActionBarState
{
    bool canShareImage = false; ///< Copy and "Export cleaned copy".
    bool showsBatch = false;    ///< A batch of two or more images is loaded.
    bool canExportBatch = false;
    bool includesSafe = false;
};

// The output strip along the bottom of the main window: the on-device note, the
// window's protection pills and watched-alerts menu, the window's banner, then (for a
// batch of two or more) "Include safe" and "Export batch", and Copy and "Export cleaned
// copy". It draws the state it is shown and reports the user's intents. The controls'
// object names are their identifiers ("copy-redacted-button", ...). The window places
// it below a divider.
class ExportActionBar : public QWidget
{
    Q_OBJECT
public:
    explicit ExportActionBar(QWidget *parent = nullptr);

    /// Sets "Include safe" without reporting it as the user's.
    void showState(const ExportActionBarState &state);

    /// Puts the window's protection pills and its watched-alerts menu after the note, and
    /// its banner in the free middle, before the output controls; each keeps its own
    /// visibility. Any may be null.
    void placeStatusWidgets(QWidget *ambientModePills, QWidget *watchedAlertsMenu, QWidget *banner = nullptr);

signals:
    void copyRequested();
    void exportRequested();
    void batchExportRequested();
    void includeSafeToggled(bool on);

private:
    QHBoxLayout *m_layout = nullptr;
    QLabel *m_localOnlyNote = nullptr;
    QCheckBox *m_includeSafe = nullptr;
    VelmoraButton *m_exportBatch = nullptr;
    VelmoraButton *m_copy = nullptr;
    VelmoraButton *m_export = nullptr;
};

} // namespace velmora
