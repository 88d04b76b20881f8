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

// A zlib stream of `rows` copies of `row`, compressed a row at a time so that a large
// image never exists uncompressed.
QByteArray deflatedRows(const QByteArray &row, quint32 rows)
{
    z_stream stream{};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    QByteArray out;
    QByteArray chunk(64 * 1024, Qt::Uninitialized);
    for (quint32 y = 0; y <= rows; ++y) {
        const bool last = y == rows;
        stream.next_in = last ? nullptr : reinterpret_cast<Bytef *>(const_cast<char *>(row.constData()));
        stream.avail_in = last ? 0 : uInt(row.size());
        int status = Z_OK;
        do {
            stream.next_out = reinterpret_cast<Bytef *>(chunk.data());
            stream.avail_out = uInt(chunk.size());
            status = deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            out.append(chunk.constData(), chunk.size() - qsizetype(stream.avail_out));
        } while (stream.avail_out == 0 || (last && status != Z_STREAM_END));
    }
    deflateEnd(&stream);
    return out;
}

int channelsOf(int colourType)
{
    switch (colourType) {
    case 0: return 1; // grey
    case 2: return 3; // RGB
    case 4: return 2; // grey and alpha
    case 6: return 4; // RGBA
    }
    return 0;
}

} // namespace

QByteArray pngChunk(const char *type, const QByteArray &data)
{
    const QByteArray body = QByteArray(type, 4) + data;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size()));
    return bigEndian(quint32(data.size())) + body + bigEndian(quint32(crc));
}

QByteArray pngDeclaring(quint32 width, quint32 height, quint32 rows, int bitDepth, int colourType)
{
    // Deflate, adaptive filtering, no interlacing.
    QByteArray header = bigEndian(width) + bigEndian(height);
    header += QByteArray(1, char(bitDepth)) + QByteArray(1, char(colourType)) + QByteArray(3, '\0');
    // Each row: filter byte 0, then zero samples.
    const QByteArray row(1 + (qsizetype(width) * channelsOf(colourType) * bitDepth + 7) / 8, '\0');
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", deflatedRows(row, rows))
           + pngChunk("IEND", {});
}

} // namespace velmora::test
