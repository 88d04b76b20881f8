#pragma once

#include <QByteArray>
#include <QStringList>

namespace velmora::test {

/// The whole content of the file at `path`; empty when it cannot be read.
QByteArray fileBytes(const QString &path);
/// Writes `bytes` as the whole content of the file at `path`; true when all were written.
bool writeBytes(const QString &path, const QByteArray &bytes);
/// Every entry of the folder by name, hidden ones and broken links included.
QStringList entriesOf(const QString &folder);

} // namespace velmora::test
