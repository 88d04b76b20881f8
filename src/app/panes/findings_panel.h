#pragma once

#include "app/panes/detection_row.h"
#include "app/review/finding_queries.h"

#include <QMap>
#include <QWidget>

class QAction;
class QLabel;
class QScrollArea;
class QVBoxLayout;

namespace velmora {

class CapsuleLabel;
class ClampedLabel;
class DetectionGroupSection;
class EmptyDetectionState;
class EmptyFilterState;
class ReviewController;
class SegmentedPicker;
class VelmoraButton;

// The right-hand column while an image or batch is under review: how many possible
// leaks there are and what the cleaned output will hold, the findings filter, the
// findings grouped by category (or a placeholder), and the footer with finding
// navigation, the toggle of the selected finding, redact-all and visible-all, and the
// manual tools. It draws the controller's state on every change and calls its
// operations; it owns no review data.
//
// Its padding (28), spacing (14), window-coloured background and width (376) are its
// own, so the main window only places it. The three keys (Ctrl+Up, Ctrl+Down, Space)
// are window-wide actions the main window adds once: `windowActions`.
class FindingsPanel : public QWidget
{
    Q_OBJECT
public:
    explicit FindingsPanel(ReviewController &controller, QWidget *parent = nullptr);

    /// Previous finding (Ctrl+Up), next finding (Ctrl+Down) and toggle the selected
    /// finding (Space), enabled only while their buttons are.
    QList<QAction *> windowActions() const;
    /// The manual editing block, shown below a divider while an image is loaded.
    void setManualEditingTools(QWidget *tools);

    /// The section of a category, or null while the category has no listed finding.
    DetectionGroupSection *section(FindingCategory category) const;

signals:
    /// "Open Detection settings" of a finding: the main window opens the settings window
    /// (the controller then shows its detection tab, see openDetectionSettingsSoon).
    void openDetectionSettingsRequested();

private:
    QWidget *buildStatusBlock();
    QWidget *buildFooter();
    QAction *makeWindowAction(const QString &text, const QKeySequence &key, std::function<void()> action);
    void refresh();
    void refreshFindings(const QList<FindingGroup> &groups);

    ReviewController &m_controller;
    FindingRowActions m_rowActions;

    ClampedLabel *m_title = nullptr;
    CapsuleLabel *m_countBadge = nullptr;
    QLabel *m_summary = nullptr;
    CapsuleLabel *m_previewBanner = nullptr;
    QLabel *m_errorLine = nullptr;
    SegmentedPicker *m_filterPicker = nullptr;

    EmptyDetectionState *m_emptyDetection = nullptr;
    EmptyFilterState *m_emptyFilter = nullptr;
    QScrollArea *m_scrollArea = nullptr;
    QVBoxLayout *m_sectionsLayout = nullptr;
    QMap<FindingCategory, DetectionGroupSection *> m_sections;
    std::optional<QUuid> m_shownSelection;

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
