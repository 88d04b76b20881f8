#pragma once

#include <QByteArray>
#include <QString>

namespace velmora::test {

/// The whole content of the file at `path`; empty when it cannot be read.
QByteArray fileBytes(const QString &path);
/// Writes `bytes` as the whole content of the file at `path`; true when all were written.
bool writeBytes(const QString &path, const QByteArray &bytes);

} // namespace velmora::test
