#pragma once

#include "app/kit/rounded_surface.h"
#include "core/policy/redaction_policy_disposition.h"
#include "core/redaction/redaction_plan.h"

#include <QList>
#include <QUuid>

#include <functional>

class QCheckBox;
class QLabel;
class QToolButton;
class QVBoxLayout;

namespace velmora {

class AdjustedChip;
class ClampedLabel;
class ConfidenceChip;
class PlainButton;

/// What a finding's row and its group can ask of the review. The findings panel fills
/// these in; rows and sections change nothing themselves.
struct FindingRowActions
{
    std::function<void(const QUuid &)> select;
    std::function<void(const QUuid &, bool)> setActive;
    std::function<void(bool, const QList<QUuid> &)> setGroupActive;
    std::function<void(const RedactionPlanEntry &)> rememberSafe;
    std::function<void(RedactionPolicyDisposition, const RedactionPlanEntry &)> setDetectorDisposition;
    std::function<void()> openDetectionSettings;
};

// One finding of the plan: its checkbox, label and chips and, while it is the selected
// finding, what the policy did with it, why it was flagged, the detector's details and
// the per-finding actions, built the first time the row shows a selected finding. The
// findings list (FindingsList) owns the rows: it builds them only for the findings in
// view, hands a row on to another finding when its own scrolls away, and keeps for
// each finding whether the user opened its details.
class DetectionRow : public RoundedSurface
{
    Q_OBJECT
public:
    DetectionRow(const FindingRowActions &actions, QWidget *parent = nullptr);

    void setEntry(const RedactionPlanEntry &entry, bool isSelected);
    /// Drops the finding's identifiers, so that a row out of use is never found as its finding's.
    void clearIdentifiers();
    const RedactionPlanEntry &entry() const { return m_entry; }
    bool isSelected() const { return m_isSelected; }
    bool showsDetectorDetails() const { return m_showsDetectorDetails; }
    void setShowsDetectorDetails(bool shows);
    /// The controls shown that take the keyboard focus, in the order Tab visits them.
    QList<QWidget *> focusOrder() const;

    /// The words a screen reader gives each kind ("API key", "Visual code", ...).
    static QString kindLabel(DetectionKind kind);
    /// A text-rule finding with matched text that is not blank.
    static bool canRememberAsSafe(const Detection &detection);
    /// "Group: …", "Taxonomy: …", "Current action: …", "Bounds: …".
    static QStringList detectorDetailLines(const Detection &detection);
    /// What an unselected row shows that decides its height: rows of entries with the
    /// same shape are as tall at any width.
    static QString collapsedShape(const RedactionPlanEntry &entry);

signals:
    /// The user opened or closed the detector details.
    void detectorDetailsToggled(bool shown);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void buildSelectedParts();
    QWidget *buildDetails();

    FindingRowActions m_actions;
    RedactionPlanEntry m_entry;
    bool m_isSelected = false;
    bool m_showsDetectorDetails = false;

    QCheckBox *m_checkbox = nullptr;
    ClampedLabel *m_title = nullptr;
    AdjustedChip *m_adjustedChip = nullptr;
    ConfidenceChip *m_confidenceChip = nullptr;
    QVBoxLayout *m_column = nullptr;
    // Built with the first selection:
    QWidget *m_details = nullptr;
    QLabel *m_policyLine = nullptr;
    QLabel *m_reasonLine = nullptr;
    QToolButton *m_disclosure = nullptr;
    QWidget *m_detectorDetails = nullptr;
    QList<QLabel *> m_detailLines;
    PlainButton *m_menuButton = nullptr;
    PlainButton *m_settingsButton = nullptr;
    PlainButton *m_rememberButton = nullptr;
};

} // namespace velmora
