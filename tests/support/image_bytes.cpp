#include "image_bytes.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtEndian>

namespace velmora::test {

namespace {

quint32 bigEndian32(const QByteArray &bytes, qsizetype offset)
{
    return qFromBigEndian<quint32>(bytes.constData() + offset);
}

quint16 bigEndian16(const QByteArray &bytes, qsizetype offset)
{
    return qFromBigEndian<quint16>(bytes.constData() + offset);
}

} // namespace

QByteArray encodedImage(const QImage &image, const char *format, bool progressive)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(image) ? bytes : QByteArray();
}

QByteArray encodedPng(const QImage &image)
{
    return encodedImage(image, "PNG");
}

QStringList pngChunkTypes(const QByteArray &png)
{
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    if (!png.startsWith(signature))
        return {};
    QStringList types;
    qsizetype offset = signature.size();
    while (offset + 8 <= png.size()) {
        const quint32 length = bigEndian32(png, offset);
        const qsizetype next = offset + 12 + qsizetype(length); // length, type, data, CRC
        if (next > png.size())
            return {};
        types.append(QString::fromLatin1(png.mid(offset + 4, 4)));
        offset = next;
    }
    return offset == png.size() ? types : QStringList();
}

QList<int> jpegMarkers(const QByteArray &jpeg)
{
    const auto byteAt = [&](qsizetype i) { return int(quint8(jpeg[i])); };
    if (jpeg.size() < 4 || byteAt(0) != 0xFF || byteAt(1) != 0xD8)
        return {};
    QList<int> markers{0xD8};
    qsizetype offset = 2;
    while (offset + 1 < jpeg.size()) {
        if (byteAt(offset) != 0xFF)
            return {};
        const int marker = byteAt(offset + 1);
        if (marker == 0xFF) { // fill byte
            ++offset;
            continue;
        }
        markers.append(marker);
        if (marker == 0xD9)
            break;
        if (offset + 4 > jpeg.size())
            return {};
        offset += 2 + bigEndian16(jpeg, offset + 2);
        if (marker != 0xDA)
            continue;
        // Entropy-coded data runs to the next marker other than a stuffed zero or a restart.
        while (offset + 1 < jpeg.size()) {
            const int next = byteAt(offset + 1);
            if (byteAt(offset) == 0xFF && next != 0x00 && !(next >= 0xD0 && next <= 0xD7))
                break;
            ++offset;
        }
    }
    return markers;
}

} // namespace velmora::test
