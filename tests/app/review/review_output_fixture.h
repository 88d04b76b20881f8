#pragma once

#include "review_commands_fixture.h"

#include "core/history/safe_share_history_store.h"

#include <QDir>
#include <QTemporaryDir>

namespace velmora::test {

inline Detection email(double bottom, double confidence = 0.95)
{
    return findingOf(DetectionKind::email, QStringLiteral("Email"), bottom, confidence);
}

/// Everything in the folder, hidden entries too, by name.
inline QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The review fixture for copy, export and batch export: the safe-share history and a
// folder to write into.
class OutputTest : public ReviewCommandsTest
{
protected:
    QList<SafeShareHistoryRecord> history() { return SafeShareHistoryStore::load(*settings).records; }

    QTemporaryDir m_dir;
};

} // namespace velmora::test
