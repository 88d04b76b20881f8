#pragma once

#include "core/redaction/redaction_plan.h"

#include <QList>
#include <QUuid>

namespace velmora::test {

/// The ids of `entries`, in their order.
inline QList<QUuid> entryIDs(const QList<RedactionPlanEntry> &entries)
{
    QList<QUuid> ids;
    for (const RedactionPlanEntry &entry : entries)
        ids.append(entry.id());
    return ids;
}

/// The ids of the plan's entries, in plan order.
inline QList<QUuid> entryIDs(const RedactionPlan &plan)
{
    return entryIDs(plan.entries());
}

} // namespace velmora::test
