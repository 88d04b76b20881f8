#include "app/review/finding_queries.h"

#include "core/redaction/needs_review.h"

#include <algorithm>

namespace velmora {

namespace {

const QString accountLabel = QStringLiteral("Account/customer ID");

bool passes(const RedactionPlanEntry &entry, FindingFilter filter)
{
    switch (filter) {
    case FindingFilter::all: return true;
    case FindingFilter::needsReview: return entryNeedsReview(entry);
    case FindingFilter::included: return entry.isActive;
    case FindingFilter::off: return !entry.isActive;
    }
    return false;
}

} // namespace

bool findingCategoryContains(FindingCategory category, const Detection &detection)
{
    const DetectionKind kind = detection.kind;
    switch (category) {
    case FindingCategory::secrets:
        return kind == DetectionKind::apiKey || kind == DetectionKind::secret || kind == DetectionKind::url;
    case FindingCategory::emails: return kind == DetectionKind::email;
    case FindingCategory::people: return kind == DetectionKind::face;
    case FindingCategory::visualCodes: return kind == DetectionKind::barcode;
    case FindingCategory::customerAccount: return detection.label == accountLabel;
    case FindingCategory::infrastructure: return kind == DetectionKind::ipAddress;
    case FindingCategory::payments: return kind == DetectionKind::creditCard;
    case FindingCategory::phones: return kind == DetectionKind::phoneNumber;
    case FindingCategory::review: return kind == DetectionKind::unknown && detection.label != accountLabel;
    }
    return false;
}

QList<RedactionPlanEntry> filteredEntries(const RedactionPlan &plan, FindingFilter filter)
{
    QList<RedactionPlanEntry> result;
    std::copy_if(plan.entries().begin(), plan.entries().end(), std::back_inserter(result),
                 [filter](const RedactionPlanEntry &entry) { return passes(entry, filter); });
    return result;
}

QList<FindingGroup> groupedFilteredEntries(const RedactionPlan &plan, FindingFilter filter)
{
    const QList<RedactionPlanEntry> entries = filteredEntries(plan, filter);
    QList<FindingGroup> groups;
    for (FindingCategory category : allCases<FindingCategory>()) {
        FindingGroup group{category, {}};
        for (const RedactionPlanEntry &entry : entries) {
            if (findingCategoryContains(category, entry.detection))
                group.entries.append(entry);
        }
        if (!group.entries.isEmpty())
            groups.append(std::move(group));
    }
    return groups;
}

int inactiveFindingCount(const RedactionPlan &plan)
{
    return int(plan.entries().size()) - activeEntryCount(plan);
}

QHash<QUuid, bool> manualDetectionStates(const RedactionPlan &plan)
{
    QHash<QUuid, bool> states;
    for (const RedactionPlanEntry &entry : plan.entries()) {
        if (entry.detection.source == DetectionSource::user)
            states.insert(entry.id(), entry.isActive);
    }
    return states;
}

std::optional<RedactionPlanEntry> selectedEntry(const RedactionPlan &plan, const std::optional<QUuid> &selection)
{
    if (!selection)
        return std::nullopt;
    const auto &entries = plan.entries();
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const RedactionPlanEntry &entry) { return entry.id() == *selection; });
    if (found == entries.end())
        return std::nullopt;
    return *found;
}

std::optional<QUuid> selectedManualDetectionID(const RedactionPlan &plan, const std::optional<QUuid> &selection)
{
    const std::optional<RedactionPlanEntry> entry = selectedEntry(plan, selection);
    if (!entry || entry->detection.source != DetectionSource::user)
        return std::nullopt;
    return selection;
}

std::optional<QUuid> selectedAdjustedDetectionID(const RedactionPlan &plan, const std::optional<QUuid> &selection)
{
    const std::optional<RedactionPlanEntry> entry = selectedEntry(plan, selection);
    if (!entry || !entry->detection.hasAdjustedBounds())
        return std::nullopt;
    return selection;
}

} // namespace velmora
