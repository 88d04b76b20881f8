#include "core/redaction/redaction_geometry.h"

#include <cmath>

namespace velmora::RedactionGeometry {

namespace {

// "Not greater than zero" on purpose: NaN fails the comparison and counts as degenerate.
bool isPositive(double value)
{
    return value > 0;
}

bool isUsable(const QSizeF &imageSize, const QRectF &frame)
{
    return isPositive(imageSize.width()) && isPositive(imageSize.height())
        && isPositive(std::abs(frame.width())) && isPositive(std::abs(frame.height()));
}

} // namespace

QRectF aspectFitRect(const QSizeF &imageSize, const QSizeF &availableSize)
{
    if (!isPositive(imageSize.width()) || !isPositive(imageSize.height())
        || !isPositive(availableSize.width()) || !isPositive(availableSize.height()))
        return {};
    const double widthRatio = availableSize.width() / imageSize.width();
    const double heightRatio = availableSize.height() / imageSize.height();
    const double scale = heightRatio < widthRatio ? heightRatio : widthRatio;
    const double width = imageSize.width() * scale;
    const double height = imageSize.height() * scale;
    return {(availableSize.width() - width) * 0.5, (availableSize.height() - height) * 0.5, width, height};
}

QRectF viewRect(const NormRect &normalized, const QSizeF &imageSize, const QRectF &imageFrame)
{
    if (!isUsable(imageSize, imageFrame))
        return {};
    const double imageWidth = imageSize.width();
    const double imageHeight = imageSize.height();
    const NormRect n = normalized.standardized();
    // Image space has its origin at the top left: the normalised top edge (maxY) becomes the top.
    const QRectF pixels(imageWidth * n.minX(), imageHeight * (1 - n.maxY()), imageWidth * n.standardWidth(),
                        imageHeight * n.standardHeight());
    const QRectF frame = imageFrame.normalized();
    const double sx = frame.width() / imageWidth;
    const double sy = frame.height() / imageHeight;
    return {frame.left() + sx * pixels.left(), frame.top() + sy * pixels.top(), sx * pixels.width(),
            sy * pixels.height()};
}

NormRect normalizedRect(const QRectF &view, const QSizeF &imageSize, const QRectF &imageFrame)
{
    if (!isUsable(imageSize, imageFrame))
        return {};
    const double imageWidth = imageSize.width();
    const double imageHeight = imageSize.height();
    const QRectF frame = imageFrame.normalized();
    const QRectF v = view.normalized();
    const double sx = imageWidth / frame.width();
    const double sy = imageHeight / frame.height();
    const QRectF pixels(sx * (v.left() - frame.left()), sy * (v.top() - frame.top()), sx * v.width(),
                        sy * v.height());
    return NormRect(pixels.left() / imageWidth, 1 - (pixels.top() + pixels.height()) / imageHeight,
                    pixels.width() / imageWidth, pixels.height() / imageHeight)
        .standardized();
}

} // namespace velmora::RedactionGeometry
