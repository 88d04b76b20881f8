#pragma once

#include "core/history/safe_share_enums.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QUuid>

#include <optional>

namespace velmora {

class RedactionPlan;

// One scan or share in the local safe-share history: what was done, how the image
// came in and how many findings it had. It holds no image and no found text.
struct SafeShareHistoryRecord
{
    QUuid id;
    QDateTime occurredAt;
    SafeShareSourceType sourceType = SafeShareSourceType::unknown;
    SafeShareAction action = SafeShareAction::scan;
    int totalFindings = 0;
    int includedFindings = 0;
    int reviewFindings = 0;
    int offFindings = 0;
    std::optional<QString> policySummary;
    std::optional<QString> outputPath;
    std::optional<int> batchItemCount;

    /// A record whose finding counts come from the plan: all entries, the active ones,
    /// those that need review and those that are off.
    static SafeShareHistoryRecord make(QUuid id, QDateTime occurredAt, SafeShareSourceType sourceType,
                                       SafeShareAction action, const RedactionPlan &plan,
                                       std::optional<QString> policySummary, std::optional<QString> outputPath,
                                       std::optional<int> batchItemCount);

    /// "3 included - 1 review - 2 off".
    QString summary() const;

    /// Every field under its own name; the time as ISO 8601 UTC with milliseconds.
    QJsonObject toJson() const;
    /// Missing or null keys take their defaults (no text, no count, 0 findings,
    /// source `unknown`); `id`, `occurredAt` and `action` are required. A present key
    /// of the wrong type fails the whole record. Negative counts read as 0.
    static std::optional<SafeShareHistoryRecord> fromJson(const QJsonObject &object);

    friend bool operator==(const SafeShareHistoryRecord &, const SafeShareHistoryRecord &) = default;
};

} // namespace velmora
