#include "app/panes/findings_list.h"

#include "app/panes/detection_group_section.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QScrollBar>

#include <algorithm>

namespace velmora {

namespace {

constexpr int kSectionSpacing = 12;
/// Between a section's header and its first row, and between rows.
constexpr int kRowSpacing = 8;
constexpr int kTrailingMargin = 2;
/// How far beyond the view findings keep their rows: the next row Tab reaches is built.
constexpr int kBeyondView = 120;
/// The room kept in view above and below a row brought into view.
constexpr int kSelectionMargin = 8;

/// Lets the layouts of a widget that has never shown count its children as they will
/// once it shows: until then Qt takes every child for hidden. Children hidden on
/// purpose stay hidden.
void measureBeforeShown(QWidget *widget)
{
    for (QWidget *child : widget->findChildren<QWidget *>()) {
        if (!child->isWindow() && !child->testAttribute(Qt::WA_WState_ExplicitShowHide))
            child->setVisible(true);
    }
}

} // namespace

FindingsList::FindingsList(const FindingRowActions &actions, QWidget *parent)
    : QScrollArea(parent), m_actions(actions)
{
    setObjectName(QStringLiteral("findings-list"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);
    m_content = new QWidget;
    setWidget(m_content);
    m_measure = new DetectionRow(m_actions, m_content);
    m_measure->setVisible(false);
}

DetectionGroupSection *FindingsList::section(FindingCategory category) const
{
    return m_sections.value(category);
}

void FindingsList::setGroups(const QList<FindingGroup> &groups, const std::optional<QUuid> &selection)
{
    const bool selectionChanged = selection != m_selection;
    if (groups == m_groups && !selectionChanged)
        return;
    m_groups = groups;
    m_selection = selection;
    updateSections();
    arrange();
    // A finding's details stay open as long as it stays listed.
    m_openDetails.removeIf([this](const RowKey &key) { return !m_slotOf.contains(key); });
    placeRows();

    // A finding chosen by keys or on the canvas comes into view once, when it changes.
    if (selectionChanged && selection) {
        for (const FindingGroup &group : std::as_const(m_groups)) {
            if (DetectionRow *row = m_rows.value({group.category, *selection})) {
                ensureWidgetVisible(row, 0, kSelectionMargin);
                break;
            }
        }
    }
}

void FindingsList::updateSections()
{
    QSet<FindingCategory> listed;
    for (const FindingGroup &group : std::as_const(m_groups)) {
        listed.insert(group.category);
        DetectionGroupSection *&section = m_sections[group.category];
        if (!section) {
            section = new DetectionGroupSection(group.category, m_actions, m_content);
            measureBeforeShown(section);
        }
        section->setGroup(group);
    }
    for (auto it = m_sections.begin(); it != m_sections.end();) {
        if (listed.contains(it.key())) {
            ++it;
            continue;
        }
        dropSection(it.value());
        it = m_sections.erase(it);
    }
}

void FindingsList::dropSection(DetectionGroupSection *section)
{
    // Its rows stay with the list, to serve findings of other sections.
    const FindingCategory category = section->group().category;
    spareRows([category](const RowKey &key) { return key.category == category; });
    for (DetectionRow *row : section->findChildren<DetectionRow *>(Qt::FindDirectChildrenOnly))
        row->setParent(m_content);
    m_tabStops.clear();
    // Later: the section may be the one whose button asked for the change.
    section->hide();
    section->deleteLater();
}

int FindingsList::rowWidth() const
{
    return std::max(0, viewport()->width() - kTrailingMargin);
}

void FindingsList::arrange()
{
    const int width = rowWidth();
    if (width != m_measuredWidth) {
        m_collapsedHeights.clear();
        m_measuredWidth = width;
    }
    m_arranging = true;
    m_slots.clear();
    m_slotOf.clear();
    int y = 0;
    for (qsizetype g = 0; g < m_groups.size(); ++g) {
        const FindingGroup &group = m_groups.at(g);
        DetectionGroupSection *section = m_sections.value(group.category);
        y += g > 0 ? kSectionSpacing : 0;
        const int top = y;
        y += section->headerHeight();
        for (qsizetype e = 0; e < group.entries.size(); ++e) {
            const RedactionPlanEntry &entry = group.entries.at(e);
            const RowKey key{group.category, entry.id()};
            y += kRowSpacing;
            const int height = rowHeight(entry, m_selection == entry.id(), m_openDetails.contains(key), width);
            m_slotOf.insert(key, m_slots.size());
            m_slots.append({key, g, e, y, height});
            y += height;
        }
        section->setGeometry(0, top, width, y - top);
        section->show();
    }
    m_content->resize(width + kTrailingMargin, y);
    m_arranging = false;
}

int FindingsList::rowHeight(const RedactionPlanEntry &entry, bool isSelected, bool opened, int width)
{
    if (isSelected)
        return measuredHeight(entry, true, opened, width);
    const QString shape = DetectionRow::collapsedShape(entry);
    if (const auto known = m_collapsedHeights.constFind(shape); known != m_collapsedHeights.cend())
        return *known;
    const int height = measuredHeight(entry, false, false, width);
    m_collapsedHeights.insert(shape, height);
    return height;
}

int FindingsList::measuredHeight(const RedactionPlanEntry &entry, bool isSelected, bool opened, int width)
{
    m_measure->setEntry(entry, isSelected);
    m_measure->setShowsDetectorDetails(opened);
    m_measure->clearIdentifiers();
    measureBeforeShown(m_measure);
    m_measure->layout()->invalidate();
    m_measure->layout()->activate();
    return m_measure->heightForWidth(width);
}

QList<qsizetype> FindingsList::slotsToPlace() const
{
    const int top = verticalScrollBar()->value() - kBeyondView;
    const int bottom = verticalScrollBar()->value() + viewport()->height() + kBeyondView;
    const auto first = std::partition_point(m_slots.cbegin(), m_slots.cend(),
                                            [top](const RowSlot &slot) { return slot.top + slot.height <= top; });
    QList<qsizetype> placed;
    for (auto it = first; it != m_slots.cend() && it->top < bottom; ++it)
        placed.append(it - m_slots.cbegin());

    // The rows of the selected finding and of the control in focus stay wherever they are.
    if (m_selection) {
        for (const FindingGroup &group : m_groups) {
            if (const auto slot = m_slotOf.constFind({group.category, *m_selection}); slot != m_slotOf.cend())
                placed.append(*slot);
        }
    }
    const QWidget *focus = QApplication::focusWidget();
    for (auto it = m_rows.cbegin(); focus && it != m_rows.cend(); ++it) {
        if (it.value()->isAncestorOf(focus) && m_slotOf.contains(it.key()))
            placed.append(m_slotOf.value(it.key()));
    }
    std::sort(placed.begin(), placed.end());
    placed.erase(std::unique(placed.begin(), placed.end()), placed.end());
    return placed;
}

void FindingsList::placeRows()
{
    const QList<qsizetype> placed = slotsToPlace();
    QSet<RowKey> wanted;
    for (const qsizetype slot : placed)
        wanted.insert(m_slots.at(slot).key);
    // Rows that leave first, so that they serve the findings that come.
    spareRows([&wanted](const RowKey &key) { return !wanted.contains(key); });

    const int width = rowWidth();
    for (const qsizetype s : placed) {
        const RowSlot &slot = m_slots.at(s);
        const RedactionPlanEntry &entry = m_groups.at(slot.group).entries.at(slot.entry);
        DetectionGroupSection *section = m_sections.value(slot.key.category);
        const bool isSelected = m_selection == entry.id();
        DetectionRow *&row = m_rows[slot.key];
        const bool taken = !row;
        if (taken)
            row = takeRow(section);
        if (taken || row->entry() != entry || row->isSelected() != isSelected)
            row->setEntry(entry, isSelected);
        if (const bool opened = m_openDetails.contains(slot.key); row->showsDetectorDetails() != opened)
            row->setShowsDetectorDetails(opened);
        row->setGeometry(0, slot.top - section->y(), width, slot.height);
        row->show();
    }
    orderTabStops(placed);
}

DetectionRow *FindingsList::takeRow(DetectionGroupSection *section)
{
    if (m_spareRows.isEmpty()) {
        auto *row = new DetectionRow(m_actions, section);
        connect(row, &DetectionRow::detectorDetailsToggled, this,
                [this, row](bool shown) { showDetectorDetails(row, shown); });
        return row;
    }
    // A spare row of the section itself needs no new parent.
    const auto own = std::find_if(m_spareRows.begin(), m_spareRows.end(),
                                  [section](const DetectionRow *row) { return row->parentWidget() == section; });
    DetectionRow *row = own != m_spareRows.end() ? *own : m_spareRows.last();
    m_spareRows.removeOne(row);
    if (row->parentWidget() != section)
        row->setParent(section);
    return row;
}

void FindingsList::spareRows(const std::function<bool(const RowKey &)> &leaving)
{
    for (auto it = m_rows.begin(); it != m_rows.end();) {
        if (!leaving(it.key())) {
            ++it;
            continue;
        }
        spareRow(it.value());
        it = m_rows.erase(it);
    }
}

void FindingsList::spareRow(DetectionRow *row)
{
    row->hide();
    row->clearIdentifiers();
    m_spareRows.append(row);
}

void FindingsList::showDetectorDetails(DetectionRow *row, bool shown)
{
    const auto placed =
        std::find_if(m_rows.cbegin(), m_rows.cend(), [row](const DetectionRow *other) { return other == row; });
    if (placed == m_rows.cend())
        return;
    if (shown)
        m_openDetails.insert(placed.key());
    else
        m_openDetails.remove(placed.key());
    arrange();
    placeRows();
    // The whole row, its links included.
    if (shown)
        ensureWidgetVisible(row, 0, kSelectionMargin);
}

void FindingsList::orderTabStops(const QList<qsizetype> &placed)
{
    // Tab visits the rows in the order shown, whatever order they were made in.
    QList<QWidget *> stops;
    qsizetype group = -1;
    for (const qsizetype s : placed) {
        const RowSlot &slot = m_slots.at(s);
        for (; group < slot.group; ++group)
            stops.append(m_sections.value(m_groups.at(group + 1).category)->groupButton());
        stops.append(m_rows.value(slot.key)->focusOrder());
    }
    for (++group; group < m_groups.size(); ++group)
        stops.append(m_sections.value(m_groups.at(group).category)->groupButton());
    // Not QList's ==, which hands two empty lists' null data to memcmp.
    if (std::ranges::equal(stops, m_tabStops))
        return;
    m_tabStops = stops;
    QWidget *previous = this;
    for (QWidget *stop : std::as_const(stops)) {
        setTabOrder(previous, stop);
        previous = stop;
    }
}

void FindingsList::scrollContentsBy(int dx, int dy)
{
    QScrollArea::scrollContentsBy(dx, dy);
    if (!m_arranging)
        placeRows();
}

bool FindingsList::viewportEvent(QEvent *event)
{
    const bool handled = QScrollArea::viewportEvent(event);
    if (event->type() == QEvent::Resize && !m_arranging) {
        if (rowWidth() != m_measuredWidth)
            arrange();
        placeRows();
    }
    return handled;
}

} // namespace velmora
