#pragma once

#include "core/detection/detection.h"

#include <QList>
#include <QUuid>

#include <optional>

namespace velmora {

/// One finding of the plan with its on/off state; identified by its detection's id.
struct RedactionPlanEntry
{
    Detection detection;
    bool isActive = true; ///< Filled in the cleaned output.

    QUuid id() const { return detection.id; }
    friend bool operator==(const RedactionPlanEntry &, const RedactionPlanEntry &) = default;
};

// The ordered findings of one image, each on or off. Built anew after every scan
// from the text findings, the visual findings and the user's boxes; edited in place
// by the review. Entries are in reading order after a build and after every box
// edit, and no two share an id (the edit history keys its snapshots by id).
// No operation throws: an edit that cannot apply returns false or nothing and
// leaves the plan exactly as it was.
class RedactionPlan
{
public:
    RedactionPlan() = default;
    /// Joins the three lists in this order, drops near-duplicates (the finding with
    /// the better box survives), sorts in reading order, and makes each entry active
    /// unless its suggested action is ignore.
    RedactionPlan(const QList<Detection> &detections, const QList<Detection> &visualDetections,
                  const QList<Detection> &manualDetections);

    static const RedactionPlan &empty();

    const QList<RedactionPlanEntry> &entries() const { return m_entries; }
    QList<Detection> detections() const;
    QList<Detection> activeDetections() const; ///< What the renderer fills.
    QList<Detection> manualDetections() const; ///< Source `user`, on or off.

    /// Sets the state of the entry with that id; an unknown id changes nothing. Never reorders.
    void setActive(bool isActive, const QUuid &id);
    RedactionPlan settingActive(bool isActive, const QUuid &id) const;

    /// Adds an active manual box; its id, or nothing when the rectangle is too small.
    std::optional<QUuid> addManualRedaction(const QString &label, const QString &reason, const NormRect &bounds);
    /// Moves or resizes any entry's box, recording the adjustment in its original fields.
    bool updateBounds(const QUuid &id, const NormRect &bounds);
    /// Moves or resizes a box whose source is `user` and changes nothing else.
    bool updateManualRedactionBounds(const QUuid &id, const NormRect &bounds);
    /// Returns an adjusted entry to its values before the first adjustment.
    bool resetBounds(const QUuid &id);
    /// Removes an entry whose source is `user`.
    bool removeEntry(const QUuid &id);

    /// The rectangle standardised and clamped to the unit square, or nothing when it
    /// is then narrower or lower than 0.002 (or not a number).
    static std::optional<NormRect> sanitizedManualBounds(const NormRect &bounds);

    friend bool operator==(const RedactionPlan &, const RedactionPlan &) = default;

private:
    friend class ManualRedactionEditHistory; // writes snapshots back into the entries

    qsizetype indexOf(const QUuid &id) const;
    void sortInReadingOrder();

    QList<RedactionPlanEntry> m_entries;
};

} // namespace velmora
