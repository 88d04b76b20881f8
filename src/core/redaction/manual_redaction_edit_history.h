#pragma once

#include "core/redaction/redaction_plan.h"

#include <QList>
#include <QUuid>

#include <optional>

namespace velmora {

// Undo and redo of manual box edits (draw, move, resize, reset, delete) for one
// image. Keeps, per edit, only the entries that the edit changed, keyed by id;
// undo and redo swap such snapshots against the current plan. The on/off state is
// outside its scope: a toggle alone is never recorded, and undo or redo never flips
// an entry that is still in the plan. A plain value; the review owns one per image.
class ManualRedactionEditHistory
{
public:
    bool canUndo() const { return !m_undoSnapshots.isEmpty(); }
    bool canRedo() const { return !m_redoSnapshots.isEmpty(); }
    void clear();

    /// Records the edit that turned `before` into `after`, when it changed at least one
    /// detection; that also drops every redo step. Returns whether it recorded.
    bool record(const RedactionPlan &before, const RedactionPlan &after);
    /// Undoes the most recent edit on `plan`; false (nothing changed) when there is none.
    bool undo(RedactionPlan &plan);
    /// Redoes the most recently undone edit on `plan`; false when there is none.
    bool redo(RedactionPlan &plan);

    friend bool operator==(const ManualRedactionEditHistory &, const ManualRedactionEditHistory &) = default;

private:
    /// One entry as it was; absent: no entry with this id existed.
    struct SnapshotChange
    {
        QUuid id;
        std::optional<RedactionPlanEntry> entry;
        friend bool operator==(const SnapshotChange &, const SnapshotChange &) = default;
    };
    /// The state of every entry one edit touched, ids distinct and in ascending order
    /// of their string form.
    struct Snapshot
    {
        QList<SnapshotChange> changes;
        friend bool operator==(const Snapshot &, const Snapshot &) = default;
    };

    static QList<QUuid> changedEntryIDs(const RedactionPlan &before, const RedactionPlan &after);
    static Snapshot snapshot(const RedactionPlan &plan, const QList<QUuid> &ids);
    static QList<QUuid> idsOf(const Snapshot &snapshot);
    static void applySnapshot(RedactionPlan &plan, const Snapshot &snapshot);

    QList<Snapshot> m_undoSnapshots; ///< Last = the most recent edit.
    QList<Snapshot> m_redoSnapshots; ///< Last = the most recently undone edit.
};

} // namespace velmora
