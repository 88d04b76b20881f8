#pragma once

#include "app/panes/detection_row.h"
#include "app/review/finding_queries.h"

#include <QHash>
#include <QWidget>

#include <optional>

class QLabel;
class QVBoxLayout;

namespace velmora {

class PlainButton;
class SymbolView;

// One category of the findings list: a header with the category's symbol, title and
// count and a button that masks or unmasks the whole group, then a row per finding in
// plan order. Rows are kept by finding id across updates.
class DetectionGroupSection : public QWidget
{
    Q_OBJECT
public:
    DetectionGroupSection(FindingCategory category, const FindingRowActions &actions, QWidget *parent = nullptr);

    void setGroup(const FindingGroup &group, const std::optional<QUuid> &selectedDetectionID);
    const FindingGroup &group() const { return m_group; }
    /// The rows in the order shown.
    QList<DetectionRow *> rows() const;
    DetectionRow *row(const QUuid &detectionID) const { return m_rows.value(detectionID); }

    static QString symbolName(FindingCategory category);
    /// "Redact" when anything in the group is visible, "Make visible" when all are masked.
    static QString groupButtonTitle(const FindingGroup &group);

private:
    FindingGroup m_group;
    FindingRowActions m_actions;
    QLabel *m_headerTitle = nullptr;
    PlainButton *m_groupButton = nullptr;
    QVBoxLayout *m_rowsLayout = nullptr;
    QHash<QUuid, DetectionRow *> m_rows;
};

} // namespace velmora
