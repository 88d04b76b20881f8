#pragma once

#include "core/history/safe_share_history_record.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace velmora {

class StoredSettings;

/// How many records every writer keeps.
inline constexpr int safeShareHistoryLimit = 50;

// The local safe-share history: records newest first, kept as JSON data in the
// stored settings. A plain value: load, insert, save.
class SafeShareHistoryStore
{
public:
    QList<SafeShareHistoryRecord> records;

    /// The records sorted by time, newest first (equal times keep their order).
    static SafeShareHistoryStore fromRecords(QList<SafeShareHistoryRecord> records);

    /// The stored history; missing or unreadable data gives an empty store.
    static SafeShareHistoryStore load(const StoredSettings &settings);
    /// Writes the store under its key.
    static void save(StoredSettings &settings, const SafeShareHistoryStore &store);

    /// Puts the record first and keeps the first max(limit, 0) records.
    void insert(const SafeShareHistoryRecord &record, int limit);

    /// {"records": [...]}.
    QByteArray encoded() const;
    /// A missing `records` key gives no records; anything of the wrong type fails.
    static std::optional<SafeShareHistoryStore> decode(const QByteArray &data);

    friend bool operator==(const SafeShareHistoryStore &, const SafeShareHistoryStore &) = default;
};

/// Loads the history, puts the record first within the limit of 50 and saves it.
/// Loading first means a history cleared meanwhile stays cleared.
void appendSafeShareHistoryRecord(StoredSettings &settings, const SafeShareHistoryRecord &record);
/// Removes the stored history.
void clearSafeShareHistory(StoredSettings &settings);

} // namespace velmora
