#pragma once

#include <QByteArray>
#include <QImage>

namespace velmora {

/// True when the bytes start like a HEIC file: a HEIF file that libheif reads, whose
/// main or compatible brands name HEVC-coded images.
bool looksLikeHeic(const QByteArray &data);

/// Decodes the primary image of HEIF/HEIC bytes with libheif, upright (libheif applies
/// the file's rotation and mirroring itself) and tagged with the file's colour space.
/// A null image when the bytes hold no decodable image.
QImage decodeHeif(const QByteArray &data);

} // namespace velmora
