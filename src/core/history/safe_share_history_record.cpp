#include "core/history/safe_share_history_record.h"

#include <QJsonValue>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

// Reads keys of one JSON object by the store's rules: a missing or null key is
// absent, a present key of another type marks the whole object as unreadable.
class FieldReader
{
public:
    explicit FieldReader(const QJsonObject &object) : m_object(object) {}

    bool ok() const { return m_ok; }

    std::optional<QString> string(const QString &key)
    {
        const QJsonValue value = m_object.value(key);
        if (value.isUndefined() || value.isNull())
            return std::nullopt;
        if (!value.isString())
            return fail<QString>();
        return value.toString();
    }

    std::optional<int> integer(const QString &key)
    {
        const QJsonValue value = m_object.value(key);
        if (value.isUndefined() || value.isNull())
            return std::nullopt;
        const double number = value.toDouble();
        if (!value.isDouble() || std::floor(number) != number || std::abs(number) > 2e9)
            return fail<int>();
        return int(number);
    }

    template <typename E>
    std::optional<E> enumeration(const QString &key)
    {
        const std::optional<QString> text = string(key);
        if (!text)
            return std::nullopt;
        const std::optional<E> value = fromRawValue<E>(*text);
        return value ? value : fail<E>();
    }

private:
    template <typename T>
    std::optional<T> fail()
    {
        m_ok = false;
        return std::nullopt;
    }

    const QJsonObject &m_object;
    bool m_ok = true;
};

int countOrZero(std::optional<int> count)
{
    return std::max(count.value_or(0), 0);
}

} // namespace

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
    const std::optional<QString> id = read.string(QStringLiteral("id"));
    const std::optional<QString> occurredAt = read.string(QStringLiteral("occurredAt"));
    const std::optional<SafeShareSourceType> sourceType = read.enumeration<SafeShareSourceType>(QStringLiteral("sourceType"));
    const std::optional<SafeShareAction> action = read.enumeration<SafeShareAction>(QStringLiteral("action"));
    record.totalFindings = countOrZero(read.integer(QStringLiteral("totalFindings")));
    record.includedFindings = countOrZero(read.integer(QStringLiteral("includedFindings")));
    record.reviewFindings = countOrZero(read.integer(QStringLiteral("reviewFindings")));
    record.offFindings = countOrZero(read.integer(QStringLiteral("offFindings")));
    record.policySummary = read.string(QStringLiteral("policySummary"));
    record.outputPath = read.string(QStringLiteral("outputPath"));
    if (const std::optional<int> items = read.integer(QStringLiteral("batchItemCount")))
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
