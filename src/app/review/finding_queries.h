#pragma once

#include "app/review/review_model_enums.h"
#include "core/redaction/redaction_plan.h"

#include <QHash>
#include <QList>
#include <QUuid>

#include <optional>

namespace velmora {

/// One section of the grouped findings list: a category and its entries in plan order.
struct FindingGroup
{
    FindingCategory category = FindingCategory::review;
    QList<RedactionPlanEntry> entries;

    friend bool operator==(const FindingGroup &, const FindingGroup &) = default;
};

/// Whether a finding belongs to the category. Tested one category at a time: a
/// finding of a kind-based category labelled "Account/customer ID" is in that category
/// and in `customerAccount`.
bool findingCategoryContains(FindingCategory category, const Detection &detection);

/// The entries that pass the filter, in plan order.
QList<RedactionPlanEntry> filteredEntries(const RedactionPlan &plan, FindingFilter filter);
/// One group per category in category order, holding the filtered entries of that
/// category; empty categories give no group, and an entry may be listed twice.
QList<FindingGroup> groupedFilteredEntries(const RedactionPlan &plan, FindingFilter filter);

/// All entries minus the active ones.
int inactiveFindingCount(const RedactionPlan &plan);
/// The on/off state of every box whose source is `user`, by detection id.
QHash<QUuid, bool> manualDetectionStates(const RedactionPlan &plan);

/// The first entry with that id; nothing when none is selected or the id is gone.
std::optional<RedactionPlanEntry> selectedEntry(const RedactionPlan &plan, const std::optional<QUuid> &selection);
/// The selection when it names a box whose source is `user`.
std::optional<QUuid> selectedManualDetectionID(const RedactionPlan &plan, const std::optional<QUuid> &selection);
/// The selection when it names a box the user moved or resized.
std::optional<QUuid> selectedAdjustedDetectionID(const RedactionPlan &plan, const std::optional<QUuid> &selection);

} // namespace velmora
