#pragma once

#include "app/panes/detection_row.h"
#include "app/review/finding_queries.h"

#include <QWidget>

class QLabel;

namespace velmora {

class PlainButton;

// One category of the findings list: a header with the category's symbol, title and
// count and a button that masks or unmasks the whole group, and under it the rows of
// its findings, in plan order. The findings list (FindingsList) owns the section and
// places the rows in it, for the findings in or near view only.
class DetectionGroupSection : public QWidget
{
    Q_OBJECT
public:
    DetectionGroupSection(FindingCategory category, const FindingRowActions &actions, QWidget *parent = nullptr);

    void setGroup(const FindingGroup &group);
    const FindingGroup &group() const { return m_group; }
    /// The header's height: the rows start below it.
    int headerHeight() const;
    QWidget *groupButton() const;
    /// The rows placed in the section, top to bottom.
    QList<DetectionRow *> rows() const;

    static QString symbolName(FindingCategory category);
    /// "Redact" when anything in the group is visible, "Make visible" when all are masked.
    static QString groupButtonTitle(const FindingGroup &group);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    FindingGroup m_group;
    FindingRowActions m_actions;
    QWidget *m_header = nullptr;
    QLabel *m_headerTitle = nullptr;
    PlainButton *m_groupButton = nullptr;
};

} // namespace velmora
