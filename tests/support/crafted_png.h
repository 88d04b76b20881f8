#pragma once

#include <QByteArray>

namespace velmora::test {

/// One PNG chunk: length, type, data and a correct CRC.
QByteArray pngChunk(const char *type, const QByteArray &data);

/// A PNG that declares an image of `width` × `height` (8-bit RGB unless told otherwise:
/// PNG's bit depth and colour type) and holds `rows` rows of black pixels in a valid
/// compressed stream (a decoder that believes the header takes memory for every
/// declared row before it finds the rest missing).
QByteArray pngDeclaring(quint32 width, quint32 height, quint32 rows = 1, int bitDepth = 8, int colourType = 2);

} // namespace velmora::test
