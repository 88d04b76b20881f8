#pragma once

#include <QByteArray>
#include <QStringList>

namespace velmora::test {

/// The chunks of a PNG that carry metadata (text, EXIF, colour profile, time), in file
/// order; a cleaned image has none. A PNG that cannot be parsed gives "unreadable".
QStringList pngMetadataChunks(const QByteArray &png);

} // namespace velmora::test
