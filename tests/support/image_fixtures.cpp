#include "support/image_fixtures.h"

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

#include <gtest/gtest.h>
#include <libheif/heif.h>

#include <memory>

namespace velmora::testing {

namespace {

void appendBigEndian16(QByteArray &out, quint16 value)
{
    out.append(char(value >> 8));
    out.append(char(value & 0xff));
}

template <typename T>
void appendLittleEndian(QByteArray &out, T value)
{
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out.append(char((value >> (8 * i)) & 0xff));
}

QByteArray jpegBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(95);
    writer.write(image);
    return bytes;
}

// One IFD entry of type SHORT (3) or LONG (4) with a single value.
void appendIfdEntry(QByteArray &out, quint16 tag, quint16 type, quint32 value)
{
    appendLittleEndian<quint16>(out, tag);
    appendLittleEndian<quint16>(out, type);
    appendLittleEndian<quint32>(out, 1);
    appendLittleEndian<quint32>(out, type == 3 ? quint32(value & 0xffff) : value);
}

struct HeifContextDeleter { void operator()(heif_context *c) const { heif_context_free(c); } };
struct HeifEncoderDeleter { void operator()(heif_encoder *e) const { heif_encoder_release(e); } };
struct HeifImageDeleter { void operator()(heif_image *i) const { heif_image_release(i); } };
struct HeifOptionsDeleter { void operator()(heif_encoding_options *o) const { heif_encoding_options_free(o); } };

heif_error writeToBuffer(heif_context *, const void *data, size_t size, void *userdata)
{
    static_cast<QByteArray *>(userdata)->append(static_cast<const char *>(data), qsizetype(size));
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
}

} // namespace

QImage quadrantImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    const int w = width / 2;
    const int h = height / 2;
    painter.fillRect(0, 0, w, h, QColor(255, 0, 0));
    painter.fillRect(w, 0, width - w, h, QColor(0, 255, 0));
    painter.fillRect(0, h, w, height - h, QColor(0, 0, 255));
    painter.fillRect(w, h, width - w, height - h, QColor(255, 255, 0));
    return image;
}

QColor quadrantColour(const QImage &image, int column, int row)
{
    return image.pixelColor(image.width() / 4 + column * image.width() / 2, image.height() / 4 + row * image.height() / 2);
}

QByteArray jpegWithOrientation(const QImage &image, std::uint16_t orientation)
{
    const QByteArray jpeg = jpegBytes(image);
    // An APP1 "Exif" segment holding a big-endian TIFF structure with one IFD entry.
    QByteArray tiff("MM\0\x2a", 4);
    tiff.append(QByteArray("\0\0\0\x08", 4)); // first IFD right after the header
    appendBigEndian16(tiff, 1);              // one entry
    appendBigEndian16(tiff, 0x0112);         // Orientation
    appendBigEndian16(tiff, 3);              // SHORT
    tiff.append(QByteArray("\0\0\0\x01", 4)); // one value
    appendBigEndian16(tiff, orientation);
    appendBigEndian16(tiff, 0);              // padding of the value field
    tiff.append(QByteArray(4, '\0'));        // no next IFD
    QByteArray segment("Exif\0\0", 6);
    segment += tiff;
    QByteArray app1("\xff\xe1", 2);
    appendBigEndian16(app1, quint16(segment.size() + 2));
    app1 += segment;
    return jpeg.left(2) + app1 + jpeg.mid(2);
}

QByteArray twoPageTiff(const QImage &firstPage, const QImage &secondPage)
{
    const QList<QImage> pages{firstPage.convertToFormat(QImage::Format_RGB888),
                              secondPage.convertToFormat(QImage::Format_RGB888)};
    constexpr quint32 entries = 8;
    constexpr quint32 ifdSize = 2 + entries * 12 + 4;
    QByteArray out("II\x2a\0", 4);
    appendLittleEndian<quint32>(out, 8);
    quint32 offset = 8;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const QImage &page = pages[p];
        const quint32 stripBytes = quint32(page.width() * 3 * page.height());
        const quint32 bitsOffset = offset + ifdSize;
        const quint32 stripOffset = bitsOffset + 6;
        const quint32 next = p + 1 < pages.size() ? stripOffset + stripBytes : 0;
        appendLittleEndian<quint16>(out, entries);
        appendIfdEntry(out, 256, 4, quint32(page.width()));  // ImageWidth
        appendIfdEntry(out, 257, 4, quint32(page.height())); // ImageLength
        // BitsPerSample: three values, stored after the IFD.
        appendLittleEndian<quint16>(out, 258);
        appendLittleEndian<quint16>(out, 3);
        appendLittleEndian<quint32>(out, 3);
        appendLittleEndian<quint32>(out, bitsOffset);
        appendIfdEntry(out, 259, 3, 1);           // no compression
        appendIfdEntry(out, 262, 3, 2);           // RGB
        appendIfdEntry(out, 273, 4, stripOffset); // StripOffsets
        appendIfdEntry(out, 277, 3, 3);           // SamplesPerPixel
        appendIfdEntry(out, 279, 4, stripBytes);  // StripByteCounts
        appendLittleEndian<quint32>(out, next);
        for (int i = 0; i < 3; ++i)
            appendLittleEndian<quint16>(out, 8);
        for (int y = 0; y < page.height(); ++y)
            out.append(reinterpret_cast<const char *>(page.constScanLine(y)), page.width() * 3);
        offset = next;
    }
    return out;
}

QByteArray heicWithOrientation(const QImage &image, int orientation)
{
    // libheif counts its start-ups; the encoders are there while one is open.
    struct Started
    {
        Started() { heif_init(nullptr); }
        ~Started() { heif_deinit(); }
    } started;
    if (!heif_have_encoder_for_format(heif_compression_HEVC))
        return {};
    const std::unique_ptr<heif_context, HeifContextDeleter> context(heif_context_alloc());
    heif_encoder *rawEncoder = nullptr;
    if (heif_context_get_encoder_for_format(context.get(), heif_compression_HEVC, &rawEncoder).code != heif_error_Ok)
        return {};
    const std::unique_ptr<heif_encoder, HeifEncoderDeleter> encoder(rawEncoder);
    heif_encoder_set_lossy_quality(encoder.get(), 95);

    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    heif_image *rawImage = nullptr;
    if (heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &rawImage).code
        != heif_error_Ok)
        return {};
    const std::unique_ptr<heif_image, HeifImageDeleter> heifImage(rawImage);
    heif_image_add_plane(heifImage.get(), heif_channel_interleaved, rgb.width(), rgb.height(), 8);
    int stride = 0;
    uint8_t *plane = heif_image_get_plane(heifImage.get(), heif_channel_interleaved, &stride);
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(plane + y * stride, rgb.constScanLine(y), std::size_t(rgb.width()) * 3);

    const std::unique_ptr<heif_encoding_options, HeifOptionsDeleter> options(heif_encoding_options_alloc());
    options->image_orientation = heif_orientation(orientation);
    if (heif_context_encode_image(context.get(), heifImage.get(), encoder.get(), options.get(), nullptr).code
        != heif_error_Ok)
        return {};
    QByteArray bytes;
    heif_writer writer{1, writeToBuffer};
    if (heif_context_write(context.get(), &writer, &bytes).code != heif_error_Ok)
        return {};
    return bytes;
}

QImage storedForOrientation(const QImage &upright, int orientation)
{
    // The tag says how the stored pixels map to the upright picture: D(x, y) = S(...).
    // Filling the stored image from the upright one inverts that map pixel by pixel.
    const bool swapped = orientation >= 5 && orientation <= 8;
    const int sw = swapped ? upright.height() : upright.width();
    const int sh = swapped ? upright.width() : upright.height();
    QImage stored(sw, sh, QImage::Format_RGB32);
    for (int y = 0; y < upright.height(); ++y) {
        for (int x = 0; x < upright.width(); ++x) {
            int sx = x, sy = y;
            switch (orientation) {
            case 2: sx = sw - 1 - x; break;
            case 3: sx = sw - 1 - x; sy = sh - 1 - y; break;
            case 4: sy = sh - 1 - y; break;
            case 5: sx = y; sy = x; break;
            case 6: sx = y; sy = sh - 1 - x; break;
            case 7: sx = sw - 1 - y; sy = sh - 1 - x; break;
            case 8: sx = sw - 1 - y; sy = x; break;
            default: break;
            }
            stored.setPixel(sx, sy, upright.pixel(x, y));
        }
    }
    return stored;
}

QFont installedFont(const QString &family)
{
    const QFont font(family);
    const QString given = QFontInfo(font).family();
    if (given.compare(family, Qt::CaseInsensitive) != 0) {
        ADD_FAILURE() << "The typeface \"" << family.toStdString() << "\" is not installed: fontconfig gives \""
                      << given.toStdString() << "\" in its place (scripts/install-deps installs the typefaces tests draw with)";
    }
    return font;
}

QList<QPoint> textInk(QSize size, const QFont &font, QPointF baseline, const QString &text)
{
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter painter(&layer);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(baseline, text);
    painter.end();
    QList<QPoint> ink;
    for (int y = 0; y < layer.height(); ++y) {
        for (int x = 0; x < layer.width(); ++x) {
            if (qAlpha(layer.pixel(x, y)) >= 51)
                ink.append(QPoint(x, y));
        }
    }
    return ink;
}

TextCanvas renderLines(const QList<QList<TextPiece>> &lines, const QString &family, int pixelSize, QColor ink,
                       QColor ground, QSize size, int lineStep)
{
    QFont font = installedFont(family);
    font.setPixelSize(pixelSize);
    const QFontMetricsF metrics(font);
    const double step = lineStep > 0 ? lineStep : pixelSize * 2.0;
    const int margin = pixelSize * 2;
    const int height = size.height() > 0 ? size.height() : int(margin * 2 + step * lines.size());
    TextCanvas canvas;
    canvas.image = QImage(size.width(), height, QImage::Format_RGB32);
    canvas.image.fill(ground);
    QPainter painter(&canvas.image);
    painter.setFont(font);
    painter.setPen(ink);
    for (qsizetype l = 0; l < lines.size(); ++l) {
        const double baseline = margin + metrics.ascent() + l * step;
        double x = margin;
        RenderedLine rendered;
        for (const TextPiece &piece : lines[l]) {
            painter.drawText(QPointF(x, baseline), piece.text);
            if (piece.recordInk)
                rendered.pieceInk.append(textInk(canvas.image.size(), font, QPointF(x, baseline), piece.text));
            rendered.text += piece.text;
            x += metrics.horizontalAdvance(piece.text);
        }
        rendered.box = QRectF(margin, baseline - metrics.ascent(), x - margin, metrics.height()).toAlignedRect();
        canvas.lines.append(rendered);
    }
    return canvas;
}

} // namespace velmora::testing
