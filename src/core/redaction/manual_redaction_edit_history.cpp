#include "core/redaction/manual_redaction_edit_history.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace velmora {

namespace {

QHash<QUuid, const RedactionPlanEntry *> entriesById(const RedactionPlan &plan)
{
    QHash<QUuid, const RedactionPlanEntry *> result;
    for (const RedactionPlanEntry &entry : plan.entries())
        result.insert(entry.id(), &entry);
    return result;
}

// The canonical string form (upper-case hexadecimal groups joined by hyphens). Sorting
// by it rather than by QUuid's own order, which compares the variant first.
QString canonicalForm(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

} // namespace

void ManualRedactionEditHistory::clear()
{
    m_undoSnapshots.clear();
    m_redoSnapshots.clear();
}

bool ManualRedactionEditHistory::record(const RedactionPlan &before, const RedactionPlan &after)
{
    const QList<QUuid> ids = changedEntryIDs(before, after);
    if (ids.isEmpty())
        return false;
    m_undoSnapshots.append(snapshot(before, ids));
    m_redoSnapshots.clear();
    return true;
}

bool ManualRedactionEditHistory::undo(RedactionPlan &plan)
{
    if (m_undoSnapshots.isEmpty())
        return false;
    const Snapshot restored = m_undoSnapshots.takeLast();
    m_redoSnapshots.append(snapshot(plan, idsOf(restored)));
    applySnapshot(plan, restored);
    return true;
}

bool ManualRedactionEditHistory::redo(RedactionPlan &plan)
{
    if (m_redoSnapshots.isEmpty())
        return false;
    const Snapshot restored = m_redoSnapshots.takeLast();
    m_undoSnapshots.append(snapshot(plan, idsOf(restored)));
    applySnapshot(plan, restored);
    return true;
}

QList<QUuid> ManualRedactionEditHistory::changedEntryIDs(const RedactionPlan &before, const RedactionPlan &after)
{
    const auto beforeById = entriesById(before);
    const auto afterById = entriesById(after);
    QSet<QUuid> seen;
    QList<QUuid> changed;
    const auto consider = [&](const QUuid &id) {
        if (seen.contains(id))
            return;
        seen.insert(id);
        const RedactionPlanEntry *old = beforeById.value(id);
        const RedactionPlanEntry *now = afterById.value(id);
        // Only detections are compared: a change of isActive alone is a toggle, not an edit.
        if (!old || !now || !(old->detection == now->detection))
            changed.append(id);
    };
    for (const RedactionPlanEntry &entry : before.entries())
        consider(entry.id());
    for (const RedactionPlanEntry &entry : after.entries())
        consider(entry.id());

    QList<std::pair<QString, QUuid>> keyed;
    keyed.reserve(changed.size());
    for (const QUuid &id : std::as_const(changed))
        keyed.append({canonicalForm(id), id});
    std::sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<QUuid> sorted;
    sorted.reserve(keyed.size());
    for (const auto &[key, id] : std::as_const(keyed))
        sorted.append(id);
    return sorted;
}

ManualRedactionEditHistory::Snapshot ManualRedactionEditHistory::snapshot(const RedactionPlan &plan,
                                                                          const QList<QUuid> &ids)
{
    const auto byId = entriesById(plan);
    Snapshot result;
    result.changes.reserve(ids.size());
    for (const QUuid &id : ids) {
        const RedactionPlanEntry *entry = byId.value(id);
        result.changes.append({id, entry ? std::optional<RedactionPlanEntry>(*entry) : std::nullopt});
    }
    return result;
}

QList<QUuid> ManualRedactionEditHistory::idsOf(const Snapshot &snapshot)
{
    QList<QUuid> ids;
    ids.reserve(snapshot.changes.size());
    for (const SnapshotChange &change : snapshot.changes)
        ids.append(change.id);
    return ids;
}

void ManualRedactionEditHistory::applySnapshot(RedactionPlan &plan, const Snapshot &snapshot)
{
    // The plan's current on/off state wins over the snapshot's for entries still in it.
    QHash<QUuid, bool> currentState;
    for (const RedactionPlanEntry &entry : plan.m_entries)
        currentState.insert(entry.id(), entry.isActive);

    for (const SnapshotChange &change : snapshot.changes) {
        if (!change.entry) {
            plan.m_entries.removeIf([&](const RedactionPlanEntry &entry) { return entry.id() == change.id; });
            continue;
        }
        RedactionPlanEntry restored = *change.entry;
        if (const auto state = currentState.constFind(change.id); state != currentState.cend())
            restored.isActive = *state;
        const qsizetype index = plan.indexOf(change.id);
        if (index >= 0)
            plan.m_entries[index] = restored;
        else
            plan.m_entries.append(restored);
    }
    plan.sortInReadingOrder();
}

} // namespace velmora
