#include "core/history/safe_share_history_record.h"

#include "core/redaction/needs_review.h"
#include "core/support/json_reading.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

// Reads keys of one record: a missing or null key is absent, a present key of the
// wrong form marks the whole record as unreadable.
class FieldReader
{
public:
    explicit FieldReader(const QJsonObject &object) : m_object(object) {}

    bool ok() const { return m_ok; }

    std::optional<QString> string(QLatin1String key) { return read(key, json::string); }

    std::optional<int> integer(QLatin1String key)
    {
        return read(key, [](const QJsonValue &value) -> std::optional<int> {
            const double number = value.toDouble();
            if (!value.isDouble() || std::floor(number) != number || std::abs(number) > 2e9)
                return std::nullopt;
            return int(number);
        });
    }

    template <typename E>
    std::optional<E> enumeration(QLatin1String key)
    {
        return read(key, json::rawEnum<E>);
    }

private:
    template <typename Convert>
    auto read(QLatin1String key, Convert convert) -> decltype(convert(QJsonValue()))
    {
        const std::optional<QJsonValue> value = json::optionalValue(m_object, key);
        if (!value)
            return std::nullopt;
        auto converted = convert(*value);
        m_ok = m_ok && converted.has_value();
        return converted;
    }

    const QJsonObject &m_object;
    bool m_ok = true;
};

int countOrZero(std::optional<int> count)
{
    return std::max(count.value_or(0), 0);
}

} // namespace

SafeShareHistoryRecord SafeShareHistoryRecord::make(QUuid id, QDateTime occurredAt, SafeShareSourceType sourceType,
                                                   SafeShareAction action, const RedactionPlan &plan,
                                                   std::optional<QString> policySummary,
                                                   std::optional<QString> outputPath,
                                                   std::optional<int> batchItemCount)
{
    const int total = int(plan.entries().size());
    const int included = activeEntryCount(plan);
    return {std::move(id), std::move(occurredAt), sourceType, action, total, included,
            needsReviewEntries(plan), std::max(total - included, 0), std::move(policySummary),
            std::move(outputPath), batchItemCount};
}

QString SafeShareHistoryRecord::summary() const
{
    return QStringLiteral("%1 included - %2 review - %3 off").arg(includedFindings).arg(reviewFindings).arg(offFindings);
}

QJsonObject SafeShareHistoryRecord::toJson() const
{
    QJsonObject object{
        {QStringLiteral("id"), id.toString(QUuid::WithoutBraces).toUpper()},
        {QStringLiteral("occurredAt"), occurredAt.toUTC().toString(Qt::ISODateWithMs)},
        {QStringLiteral("sourceType"), rawValue(sourceType)},
        {QStringLiteral("action"), rawValue(action)},
        {QStringLiteral("totalFindings"), totalFindings},
        {QStringLiteral("includedFindings"), includedFindings},
        {QStringLiteral("reviewFindings"), reviewFindings},
        {QStringLiteral("offFindings"), offFindings},
    };
    if (policySummary)
        object.insert(QStringLiteral("policySummary"), *policySummary);
    if (outputPath)
        object.insert(QStringLiteral("outputPath"), *outputPath);
    if (batchItemCount)
        object.insert(QStringLiteral("batchItemCount"), *batchItemCount);
    return object;
}

std::optional<SafeShareHistoryRecord> SafeShareHistoryRecord::fromJson(const QJsonObject &object)
{
    FieldReader read(object);
    SafeShareHistoryRecord record;
    const std::optional<QString> id = read.string(QLatin1String("id"));
    const std::optional<QString> occurredAt = read.string(QLatin1String("occurredAt"));
    const std::optional<SafeShareSourceType> sourceType = read.enumeration<SafeShareSourceType>(QLatin1String("sourceType"));
    const std::optional<SafeShareAction> action = read.enumeration<SafeShareAction>(QLatin1String("action"));
    record.totalFindings = countOrZero(read.integer(QLatin1String("totalFindings")));
    record.includedFindings = countOrZero(read.integer(QLatin1String("includedFindings")));
    record.reviewFindings = countOrZero(read.integer(QLatin1String("reviewFindings")));
    record.offFindings = countOrZero(read.integer(QLatin1String("offFindings")));
    record.policySummary = read.string(QLatin1String("policySummary"));
    record.outputPath = read.string(QLatin1String("outputPath"));
    if (const std::optional<int> items = read.integer(QLatin1String("batchItemCount")))
        record.batchItemCount = std::max(*items, 0);
    if (!read.ok() || !id || !occurredAt || !action)
        return std::nullopt;

    record.id = QUuid::fromString(*id);
    record.occurredAt = QDateTime::fromString(*occurredAt, Qt::ISODateWithMs);
    if (record.id.isNull() || !record.occurredAt.isValid())
        return std::nullopt;
    record.sourceType = sourceType.value_or(SafeShareSourceType::unknown);
    record.action = *action;
    return record;
}

} // namespace velmora
