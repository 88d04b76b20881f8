#include "core/history/safe_share_history_store.h"

#include "core/settings/stored_settings.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace velmora {

SafeShareHistoryStore SafeShareHistoryStore::fromRecords(QList<SafeShareHistoryRecord> records)
{
    std::stable_sort(records.begin(), records.end(),
                     [](const auto &a, const auto &b) { return a.occurredAt > b.occurredAt; });
    return SafeShareHistoryStore{std::move(records)};
}

SafeShareHistoryStore SafeShareHistoryStore::load(const StoredSettings &settings)
{
    return decode(settings.value(Setting::safeShareHistoryStore)).value_or(SafeShareHistoryStore{});
}

void SafeShareHistoryStore::save(StoredSettings &settings, const SafeShareHistoryStore &store)
{
    settings.setValue(Setting::safeShareHistoryStore, store.encoded());
}

void SafeShareHistoryStore::insert(const SafeShareHistoryRecord &record, int limit)
{
    records.prepend(record);
    const qsizetype kept = std::max(limit, 0);
    if (records.size() > kept)
        records.resize(kept);
}

QByteArray SafeShareHistoryStore::encoded() const
{
    QJsonArray array;
    for (const SafeShareHistoryRecord &record : records)
        array.append(record.toJson());
    return QJsonDocument(QJsonObject{{QStringLiteral("records"), array}}).toJson(QJsonDocument::Compact);
}

std::optional<SafeShareHistoryStore> SafeShareHistoryStore::decode(const QByteArray &data)
{
    const QJsonDocument document = QJsonDocument::fromJson(data);
    if (!document.isObject())
        return std::nullopt;
    const QJsonValue value = document.object().value(QStringLiteral("records"));
    if (value.isUndefined() || value.isNull())
        return SafeShareHistoryStore{};
    if (!value.isArray())
        return std::nullopt;
    QList<SafeShareHistoryRecord> records;
    for (const QJsonValue &element : value.toArray()) {
        if (!element.isObject())
            return std::nullopt;
        std::optional<SafeShareHistoryRecord> record = SafeShareHistoryRecord::fromJson(element.toObject());
        if (!record)
            return std::nullopt;
        records.append(std::move(*record));
    }
    return fromRecords(std::move(records));
}

void appendSafeShareHistoryRecord(StoredSettings &settings, const SafeShareHistoryRecord &record)
{
    SafeShareHistoryStore store = SafeShareHistoryStore::load(settings);
    store.insert(record, safeShareHistoryLimit);
    SafeShareHistoryStore::save(settings, store);
}

void clearSafeShareHistory(StoredSettings &settings)
{
    settings.remove(Setting::safeShareHistoryStore);
}

} // namespace velmora
