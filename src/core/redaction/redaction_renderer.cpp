#include "core/redaction/redaction_renderer.h"

#include "core/detection/core_error.h"
#include "core/support/log_categories.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <optional>

namespace velmora {

namespace {

constexpr int kMaximumJpegQuality = 100;

// The cleaned output carries no colour profile, so its pixels must be sRGB already.
QImage inSrgb(const QImage &image)
{
    const QColorSpace space = image.colorSpace();
    if (!space.isValid() || space == QColorSpace(QColorSpace::SRgb))
        return image;
    const QImage::Format format = image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    return image.convertToFormat(format).convertedToColorSpace(QColorSpace::SRgb);
}

// The same pixels without text keys, colour space or resolution: the writers copy
// whatever metadata an image holds into the file. Refers to `image`'s pixel buffer,
// so it must not outlive `image`.
QImage withoutMetadata(const QImage &image)
{
    QImage bare(image.constBits(), image.width(), image.height(), image.bytesPerLine(), image.format());
    if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono
        || image.format() == QImage::Format_MonoLSB)
        bare.setColorTable(image.colorTable());
    return bare;
}

QByteArray encode(const QImage &image, const char *format, std::optional<int> quality)
{
    if (image.isNull())
        throw VelmoraCoreException(VelmoraCoreError::imageDestinationFailed);
    const QImage converted = inSrgb(image);
    const QImage bare = withoutMetadata(converted);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        throw VelmoraCoreException(VelmoraCoreError::imageDestinationFailed);
    QImageWriter writer(&buffer, format);
    if (quality)
        writer.setQuality(*quality);
    if (!writer.canWrite() || !writer.write(bare)) {
        qCWarning(lcRenderer) << "Encoding" << format << "failed:" << writer.errorString();
        throw VelmoraCoreException(VelmoraCoreError::imageDestinationFailed);
    }
    return bytes;
}

} // namespace

QImage RedactionRenderer::renderImage(const QList<Detection> &detections, const QImage &image,
                                      const QColor &fillColor, QImage::Format format)
{
    const int width = image.width();
    const int height = image.height();
    if (width <= 0 || height <= 0)
        throw VelmoraCoreException(VelmoraCoreError::imageRenderFailed);
    QImage output(width, height, format);
    if (output.isNull())
        throw VelmoraCoreException(VelmoraCoreError::imageRenderFailed);
    output.fill(Qt::transparent);

    QPainter painter;
    if (!painter.begin(&output))
        throw VelmoraCoreException(VelmoraCoreError::imageRenderFailed);
    // Pixel rectangles on both sides, so that a device pixel ratio other than 1 neither
    // shrinks nor tiles the drawing.
    const QRectF whole(0, 0, width, height);
    painter.drawImage(whole, inSrgb(image), whole);

    const QSizeF size(width, height);
    for (const Detection &detection : detections) {
        const QRectF fill = fillRect(detection.normalizedBounds, size);
        // The fill rectangle has its origin at the bottom left; the painter's is at the top.
        // Clipping in floating point keeps infinite or huge boxes away from int conversion;
        // NaN edges fail the emptiness test below.
        const double left = std::clamp(fill.left(), 0.0, double(width));
        const double right = std::clamp(fill.left() + fill.width(), 0.0, double(width));
        const double top = std::clamp(height - (fill.top() + fill.height()), 0.0, double(height));
        const double bottom = std::clamp(height - fill.top(), 0.0, double(height));
        if (!(right > left) || !(bottom > top))
            continue;
        painter.fillRect(QRect(int(left), int(top), int(right - left), int(bottom - top)), fillColor);
    }
    if (!painter.end())
        throw VelmoraCoreException(VelmoraCoreError::imageRenderFailed);
    return output;
}

QByteArray RedactionRenderer::pngData(const QList<Detection> &detections, const QImage &image,
                                      const QColor &fillColor)
{
    return encodePNG(renderImage(detections, image, fillColor));
}

QByteArray RedactionRenderer::renderJPEGData(const QList<Detection> &detections, const QImage &image,
                                             const QColor &fillColor, double quality)
{
    return jpegData(renderImage(detections, image, fillColor), quality);
}

QByteArray RedactionRenderer::encodePNG(const QImage &image)
{
    return encode(image, "png", std::nullopt);
}

QByteArray RedactionRenderer::jpegData(const QImage &image, double quality)
{
    // NaN fails both comparisons and becomes 0.
    const double clamped = quality > 1 ? 1.0 : (quality >= 0 ? quality : 0.0);
    return encode(image, "jpeg", int(std::lround(clamped * kMaximumJpegQuality)));
}

QRectF RedactionRenderer::pixelRect(const NormRect &normalized, const QSizeF &size)
{
    const NormRect n = normalized.standardized();
    return {size.width() * n.minX(), size.height() * (1 - n.maxY()), size.width() * n.standardWidth(),
            size.height() * n.standardHeight()};
}

QRectF RedactionRenderer::bitmapRect(const NormRect &normalized, const QSizeF &size)
{
    const NormRect n = normalized.standardized();
    return {size.width() * n.minX(), size.height() * n.minY(), size.width() * n.standardWidth(),
            size.height() * n.standardHeight()};
}

QRectF RedactionRenderer::fillRect(const NormRect &normalized, const QSizeF &size)
{
    // The edges come from the scaled origin and size, not from scaled edges: 50 × (0.2 + 0.4)
    // is a hair above 30 and would widen the box by a whole row.
    const QRectF r = bitmapRect(normalized, size);
    const double x0 = std::floor(r.x());
    const double y0 = std::floor(r.y());
    const double x1 = std::ceil(r.x() + r.width());
    const double y1 = std::ceil(r.y() + r.height());
    return {x0, y0, std::max(x1 - x0, 0.0), std::max(y1 - y0, 0.0)};
}

} // namespace velmora
