#pragma once

#include "app/panes/detection_row.h"
#include "app/review/finding_queries.h"

#include <QHash>
#include <QMap>
#include <QScrollArea>
#include <QSet>

#include <functional>
#include <optional>

namespace velmora {

class DetectionGroupSection;

// The findings grouped by category, in a list that scrolls: a section per group, in
// group order, with a row per finding under its header. Only the findings in or near
// view have a row: every finding's height is known without one (rows whose collapsed
// shape is the same are as tall, measured once on a row of the list's own that never
// shows), the list is laid out once per change, and a row that scrolls away serves the
// next finding that comes into view. The rows of the selected finding and of the
// control in focus stay. Owned by the findings panel.
class FindingsList : public QScrollArea
{
    Q_OBJECT
public:
    explicit FindingsList(const FindingRowActions &actions, QWidget *parent = nullptr);

    /// Shows `groups`; a selection that changed comes into view.
    void setGroups(const QList<FindingGroup> &groups, const std::optional<QUuid> &selection);
    /// The section of a category, or null while the category has no listed finding.
    DetectionGroupSection *section(FindingCategory category) const;

protected:
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent *event) override;

private:
    /// A finding as one group lists it (a finding may be listed in two groups).
    struct RowKey
    {
        FindingCategory category = FindingCategory::review;
        QUuid id;
        friend bool operator==(const RowKey &, const RowKey &) = default;
        friend size_t qHash(const RowKey &key, size_t seed = 0) { return qHashMulti(seed, int(key.category), key.id); }
    };
    /// Where a finding's row lies in the list.
    struct RowSlot
    {
        RowKey key;
        qsizetype group = 0;
        qsizetype entry = 0;
        int top = 0; ///< In the list's content.
        int height = 0;
    };

    void updateSections();
    void dropSection(DetectionGroupSection *section);
    /// Measures every finding's row and places the sections, at the width rows have now.
    void arrange();
    int rowWidth() const;
    int rowHeight(const RedactionPlanEntry &entry, bool isSelected, bool opened, int width);
    int measuredHeight(const RedactionPlanEntry &entry, bool isSelected, bool opened, int width);
    /// Gives the findings in or near view their rows and takes the others' away.
    void placeRows();
    QList<qsizetype> slotsToPlace() const;
    DetectionRow *takeRow(DetectionGroupSection *section);
    /// Takes their rows from the findings `leaving` names, to serve others.
    void spareRows(const std::function<bool(const RowKey &)> &leaving);
    void spareRow(DetectionRow *row);
    void showDetectorDetails(DetectionRow *row, bool shown);
    void orderTabStops(const QList<qsizetype> &placed);

    FindingRowActions m_actions;
    QWidget *m_content = nullptr;
    DetectionRow *m_measure = nullptr; ///< Never shown.
    QList<FindingGroup> m_groups;
    std::optional<QUuid> m_selection;
    QMap<FindingCategory, DetectionGroupSection *> m_sections;
    QList<RowSlot> m_slots;
    QHash<RowKey, qsizetype> m_slotOf;
    QHash<RowKey, DetectionRow *> m_rows;
    QList<DetectionRow *> m_spareRows;
    QSet<RowKey> m_openDetails;
    QHash<QString, int> m_collapsedHeights; ///< By collapsed shape, at m_measuredWidth.
    int m_measuredWidth = -1;
    bool m_arranging = false;
    QList<QWidget *> m_tabStops;
};

} // namespace velmora
