#include "crafted_png.h"

#include <QtEndian>

#include <zlib.h>

namespace velmora::test {

namespace {

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray deflated(const QByteArray &raw)
{
    uLongf size = compressBound(uLong(raw.size()));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    compress2(reinterpret_cast<Bytef *>(out.data()), &size, reinterpret_cast<const Bytef *>(raw.constData()),
              uLong(raw.size()), Z_BEST_COMPRESSION);
    out.truncate(qsizetype(size));
    return out;
}

} // namespace

QByteArray pngChunk(const char *type, const QByteArray &data)
{
    const QByteArray body = QByteArray(type, 4) + data;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size()));
    return bigEndian(quint32(data.size())) + body + bigEndian(quint32(crc));
}

QByteArray pngDeclaring(quint32 width, quint32 height, quint32 rows)
{
    // Bit depth 8, colour type 2 (RGB), deflate, adaptive filtering, no interlacing.
    const QByteArray header = bigEndian(width) + bigEndian(height) + QByteArray("\x08\x02\x00\x00\x00", 5);
    // Each row: filter byte 0, then three zero bytes a pixel.
    const QByteArray pixels(qsizetype(rows) * (1 + 3 * qsizetype(width)), '\0');
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", deflated(pixels))
           + pngChunk("IEND", {});
}

} // namespace velmora::test
