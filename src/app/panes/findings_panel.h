#pragma once

#include "app/panes/detection_row.h"
#include "app/review/finding_queries.h"

#include <QWidget>

class QAction;
class QLabel;
class QVBoxLayout;

namespace velmora {

class CapsuleLabel;
class ClampedLabel;
class DetectionGroupSection;
class EmptyDetectionState;
class EmptyFilterState;
class FindingsList;
class SegmentedPicker;
class VelmoraButton;

/// What the findings column shows of the image under review.
struct FindingsPanelState
{
    RedactionPlan plan;
    std::optional<QUuid> selection;
    FindingFilter filter = FindingFilter::all;
    bool hasImage = false;
    bool isChecking = false;
    bool isPreviewingOutput = false;
    std::optional<QString> errorText;
};

// The right-hand column while an image or batch is under review: how many possible
// leaks there are and what the cleaned output will hold, the findings filter, the
// findings grouped by category (or a placeholder), and the footer with finding
// navigation, the toggle of the selected finding, redact-all and visible-all, and the
// manual tools. It draws the state it is shown and reports the user's intents; it
// changes no review data.
//
// Its padding (28), spacing (14), window-coloured background and width (376) are its
// own, so the main window only places it. The three keys (Ctrl+Up, Ctrl+Down, Space)
// are window-wide actions the main window adds once: `windowActions`.
class FindingsPanel : public QWidget
{
    Q_OBJECT
public:
    explicit FindingsPanel(QWidget *parent = nullptr);

    void showState(const FindingsPanelState &state);

    /// Previous finding (Ctrl+Up), next finding (Ctrl+Down) and toggle the selected
    /// finding (Space), enabled only while their buttons are.
    QList<QAction *> windowActions() const;
    /// The manual editing block, shown below a divider while an image is loaded.
    void setManualEditingTools(QWidget *tools);

    /// The section of a category, or null while the category has no listed finding.
    DetectionGroupSection *section(FindingCategory category) const;

signals:
    void findingSelected(const QUuid &id);
    void findingActiveSet(const QUuid &id, bool on);
    /// A group's button: every finding of `ids` on or off.
    void findingsActiveSet(bool on, const QList<QUuid> &ids);
    void rememberSafeRequested(const RedactionPlanEntry &entry);
    void detectorDispositionChosen(RedactionPolicyDisposition disposition, const RedactionPlanEntry &entry);
    /// "Open Detection settings" of a finding: the main window opens the settings window
    /// (the window session then shows its detection tab, see openDetectionSettingsSoon).
    void openDetectionSettingsRequested();
    /// Previous (−1) or next (+1) finding.
    void adjacentFindingRequested(int step);
    void toggleSelectedFindingRequested();
    void filterChosen(FindingFilter filter);
    /// Redact (true) or Visible (false) for every finding.
    void allFindingsIncludedSet(bool included);

private:
    QWidget *buildStatusBlock();
    QWidget *buildFooter();
    QAction *makeWindowAction(const QString &text, const QKeySequence &key, std::function<void()> action);
    void refresh();

    FindingsPanelState m_state;
    FindingRowActions m_rowActions;

    ClampedLabel *m_title = nullptr;
    CapsuleLabel *m_countBadge = nullptr;
    QLabel *m_summary = nullptr;
    CapsuleLabel *m_previewBanner = nullptr;
    QLabel *m_errorLine = nullptr;
    SegmentedPicker *m_filterPicker = nullptr;

    EmptyDetectionState *m_emptyDetection = nullptr;
    EmptyFilterState *m_emptyFilter = nullptr;
    FindingsList *m_list = nullptr;

    QWidget *m_navigation = nullptr;
    VelmoraButton *m_toggleButton = nullptr;
    QWidget *m_toolsDivider = nullptr;
    QWidget *m_toolsHolder = nullptr;
    QVBoxLayout *m_toolsLayout = nullptr;

    QAction *m_previousAction = nullptr;
    QAction *m_nextAction = nullptr;
    QAction *m_toggleAction = nullptr;
};

} // namespace velmora
