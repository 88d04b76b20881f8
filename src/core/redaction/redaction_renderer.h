#pragma once

#include "core/detection/detection.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSizeF>

namespace velmora {

// Turns an image and its boxes into the flattened cleaned image: the pixels are
// redrawn into a fresh bitmap (never a copy of the source, which may carry text
// keys and colour profiles), every box is filled, and the result is encoded as PNG
// or JPEG without any metadata. Stateless and reentrant: any thread, any number of
// calls at once. Failures throw VelmoraCoreException: imageRenderFailed when the
// bitmap cannot be made, imageDestinationFailed when encoding fails.
class RedactionRenderer
{
public:
    /// The image (W × H pixels, whatever its device pixel ratio) redrawn into a fresh
    /// bitmap in sRGB, with each detection's box widened outwards to whole pixels and
    /// filled with `fillColor`, later boxes over earlier ones. The bitmap is premultiplied
    /// RGBA, what the encoders are given, unless `format` asks for another one that a
    /// QPainter draws on (the screen's, for a preview).
    static QImage renderImage(const QList<Detection> &detections, const QImage &image, const QColor &fillColor,
                              QImage::Format format = QImage::Format_RGBA8888_Premultiplied);
    /// renderImage, encoded as PNG.
    static QByteArray pngData(const QList<Detection> &detections, const QImage &image, const QColor &fillColor);
    /// renderImage, encoded as JPEG at `quality` (0 to 1).
    static QByteArray renderJPEGData(const QList<Detection> &detections, const QImage &image,
                                     const QColor &fillColor, double quality);
    /// `image` as PNG, without rendering; its text keys and colour profile are not written.
    static QByteArray encodePNG(const QImage &image);
    /// `image` as JPEG, without rendering; `quality` is clamped into [0, 1] (NaN gives 0).
    static QByteArray jpegData(const QImage &image, double quality);

    /// A normalised rectangle in the top-left pixel space of an image of `size`.
    static QRectF pixelRect(const NormRect &normalized, const QSizeF &size);
    /// A normalised rectangle in the bottom-left pixel space of an image of `size`,
    /// each value scaled on its own (origin and size, never the edges).
    static QRectF bitmapRect(const NormRect &normalized, const QSizeF &size);
    /// bitmapRect widened outwards to whole pixels: a partly covered pixel is filled
    /// entirely. Bottom-left space, not clipped to the image.
    static QRectF fillRect(const NormRect &normalized, const QSizeF &size);
};

} // namespace velmora
