#pragma once

#include <QByteArray>
#include <QImage>

namespace velmora {

/// True when the bytes start like a HEIF/HEIC file.
bool looksLikeHeif(const QByteArray &data);

/// Decodes the primary image of HEIF/HEIC bytes with libheif, upright (libheif applies
/// the file's rotation and mirroring itself) and tagged with the file's colour space.
/// A null image when the bytes hold no decodable image.
QImage decodeHeif(const QByteArray &data);

} // namespace velmora
