#include "crafted_images.h"

#include <QtEndian>

#include <zlib.h>

namespace velmora::test {

namespace {

template <typename T>
void appendLittleEndian(QByteArray &out, T value)
{
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out.append(char((quint64(value) >> (8 * i)) & 0xff));
}

void appendBigEndian32(QByteArray &out, quint32 value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xff));
}

// A zlib (windowBits 15) or gzip (31) stream of the bytes.
QByteArray compressed(const QByteArray &bytes, int windowBits)
{
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 9, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&stream, uLong(bytes.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

// A TIFF directory entry: tag, type (3 SHORT, 4 LONG, ...), count, and the value or the
// offset of the values.
void appendEntry(QByteArray &out, quint16 tag, quint16 type, quint32 count, quint32 valueOrOffset)
{
    appendLittleEndian<quint16>(out, tag);
    appendLittleEndian<quint16>(out, type);
    appendLittleEndian<quint32>(out, count);
    appendLittleEndian<quint32>(out, valueOrOffset);
}

// A TIFF whose strips of `rowsPerStrip` rows all hold the same compressed `strip`; with
// `byteCounts` false it says nowhere how long they are. With a `step`, each strip starts
// that many bytes after the one before and runs to the end of `strip`.
QByteArray stripedTiff(quint32 width, quint32 height, int bitsPerSample, int samples, const TiffTags &tags,
                       quint32 rowsPerStrip, const QByteArray &strip, bool byteCounts = true, quint32 step = 0)
{
    const quint32 strips = (height + rowsPerStrip - 1) / rowsPerStrip;
    const bool alpha = samples == 4;
    const quint16 entries = quint16((alpha ? 11 : 10) - (byteCounts ? 0 : 1) + (tags.yCbCr ? 1 : 0));
    const quint32 directoryEnd = 8 + 2 + 12u * entries + 4;
    const quint32 bitsOffset = directoryEnd;
    const quint32 offsetsOffset = bitsOffset + 2 * quint32(samples);
    const quint32 countsOffset = offsetsOffset + 4 * strips;
    const quint32 stripOffset = countsOffset + 4 * strips;

    QByteArray tiff("II\x2a\0", 4);
    appendLittleEndian<quint32>(tiff, 8);
    appendLittleEndian<quint16>(tiff, entries);
    appendEntry(tiff, 256, 4, 1, width);
    appendEntry(tiff, 257, 4, 1, height);
    appendEntry(tiff, 258, 3, quint32(samples), samples <= 2 ? quint32(bitsPerSample) : bitsOffset);
    appendEntry(tiff, 259, tags.compressionType, tags.compressionCount, tags.compression);
    appendEntry(tiff, 262, 3, 1, tags.yCbCr ? 6 : samples >= 3 ? 2 : 1); // YCbCr, RGB or black is zero
    appendEntry(tiff, 273, tags.stripOffsetsType, strips, strips == 1 ? stripOffset : offsetsOffset);
    appendEntry(tiff, 277, 3, 1, quint32(samples));
    appendEntry(tiff, 278, 4, 1, rowsPerStrip);
    if (byteCounts)
        appendEntry(tiff, 279, 4, strips, strips == 1 ? quint32(strip.size()) : countsOffset);
    appendEntry(tiff, 284, 3, 1, 1); // samples interleaved
    if (alpha)
        appendEntry(tiff, 338, 3, 1, 2); // unassociated alpha
    if (tags.yCbCr)
        appendEntry(tiff, 530, 3, 2, 2 | (2 << 16)); // chroma halved both ways
    appendLittleEndian<quint32>(tiff, 0);
    for (int sample = 0; sample < samples; ++sample)
        appendLittleEndian<quint16>(tiff, quint16(bitsPerSample));
    for (quint32 i = 0; i < strips; ++i)
        appendLittleEndian<quint32>(tiff, stripOffset + i * step);
    for (quint32 i = 0; i < strips; ++i)
        appendLittleEndian<quint32>(tiff, quint32(strip.size()) - i * step);
    return tiff + strip;
}

} // namespace

QByteArray svgShowingFile(const QString &path)
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
           "width=\"64\" height=\"64\"><image width=\"64\" height=\"64\" xlink:href=\""
           + path.toHtmlEscaped().toUtf8() + "\"/></svg>";
}

QByteArray svgOfPaths(qsizetype bytes)
{
    QByteArray svg("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8192\" height=\"8192\">");
    const QByteArray path("<path d=\"M0 0L8192 8192L0 8192Z\" fill=\"#123456\" fill-opacity=\"0.5\"/>");
    svg.reserve(bytes + path.size() + 8);
    while (svg.size() < bytes)
        svg += path;
    return svg + "</svg>";
}

QByteArray gzipped(const QByteArray &bytes)
{
    return compressed(bytes, 31);
}

QByteArray icoHolding(const QByteArray &png)
{
    QByteArray ico;
    appendLittleEndian<quint16>(ico, 0); // reserved
    appendLittleEndian<quint16>(ico, 1); // icon
    appendLittleEndian<quint16>(ico, 1); // one entry
    ico.append(QByteArray(4, '\0'));      // 256 × 256, no palette, reserved
    appendLittleEndian<quint16>(ico, 1);  // planes
    appendLittleEndian<quint16>(ico, 32); // bits a pixel
    appendLittleEndian<quint32>(ico, quint32(png.size()));
    appendLittleEndian<quint32>(ico, 22); // right after this entry
    return ico + png;
}

QByteArray icnsHolding(const QByteArray &png)
{
    QByteArray icns("icns");
    appendBigEndian32(icns, quint32(8 + 8 + png.size()));
    icns += "ic10";
    appendBigEndian32(icns, quint32(8 + png.size()));
    return icns + png;
}

QByteArray tinyGif()
{
    return QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
                      "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
                      35);
}

QByteArray tiffDeclaring(quint32 width, quint32 height, int bitsPerSample, int samples)
{
    const quint32 rowBytes = width * quint32(samples * bitsPerSample / 8);
    const quint32 rowsPerStrip = std::max<quint32>(1, (1u << 20) / std::max<quint32>(1, rowBytes));
    const QByteArray strip = compressed(QByteArray(qsizetype(rowsPerStrip) * rowBytes, '\0'), 15);
    return stripedTiff(width, height, bitsPerSample, samples, {.compression = 8}, rowsPerStrip, strip); // deflate
}

QByteArray jpegTiff(quint32 width, quint32 height, quint32 rowsPerStrip, const QByteArray &jpegStrip,
                    const TiffTags &tags)
{
    return stripedTiff(width, height, 8, tags.yCbCr ? 3 : 1, tags, rowsPerStrip, jpegStrip);
}

QByteArray jpegTiffWithoutByteCounts(quint32 width, quint32 height, const QByteArray &jpegStrip, const TiffTags &tags)
{
    return stripedTiff(width, height, 8, tags.yCbCr ? 3 : 1, tags, height, jpegStrip, false);
}

QByteArray jpegTiffOfOverlappingStrips(quint32 strips)
{
    // From each start of image on, segments of no content up to the one end of image.
    QByteArray chain;
    for (quint32 i = 0; i < strips; ++i)
        chain += QByteArray("\xFF\xD8\x00\x02", 4);
    return stripedTiff(64, strips, 8, 1, {}, 1, chain + "\xFF\xD9", true, 4);
}

} // namespace velmora::test
