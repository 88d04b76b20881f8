#include "core/settings/policy_lock.h"

#include "core/support/json_reading.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace velmora {

namespace {

const auto kLockedFieldsKey = QLatin1String("lockedFields");

} // namespace

QJsonObject PolicyLock::toJson() const
{
    QJsonArray fields;
    for (const PolicyField field : lockedFields)
        fields.append(rawValue(field));
    return QJsonObject{{kLockedFieldsKey, fields}};
}

std::optional<PolicyLock> PolicyLock::fromJson(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonValue fields = value.toObject().value(kLockedFieldsKey);
    if (!fields.isArray())
        return std::nullopt;
    PolicyLock lock;
    for (const QJsonValue entry : fields.toArray()) {
        const std::optional<PolicyField> field = json::rawEnum<PolicyField>(entry);
        if (!field)
            return std::nullopt;
        lock.lockedFields.insert(*field);
    }
    return lock;
}

PolicyLock PolicyLock::fromStoredData(const QByteArray &data)
{
    if (data.isEmpty())
        return {};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError)
        return {};
    return fromJson(document.object()).value_or(PolicyLock{});
}

QByteArray PolicyLock::storedData() const
{
    return QJsonDocument(toJson()).toJson(QJsonDocument::Compact);
}

PolicySource storedPolicySource(QStringView text)
{
    const std::optional<PolicySource> source = fromRawValue<PolicySource>(text);
    return source.value_or(PolicySource::local);
}

} // namespace velmora
