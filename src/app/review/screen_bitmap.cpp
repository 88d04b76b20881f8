#include "app/review/screen_bitmap.h"

#include <algorithm>

namespace velmora {

namespace {

bool everyPixelOpaque(const QImage &premultiplied)
{
    for (int y = 0; y < premultiplied.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(premultiplied.constScanLine(y));
        if (!std::all_of(line, line + premultiplied.width(), [](QRgb pixel) { return qAlpha(pixel) == 255; }))
            return false;
    }
    return true;
}

} // namespace

ScreenBitmap ScreenBitmap::of(const QImage &bitmap)
{
    if (!bitmap.hasAlphaChannel())
        return {bitmap, bitmap.convertToFormat(QImage::Format_RGB32)};
    QImage picture = bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // Screenshots often carry an alpha channel they do not use: drawn opaque, they are
    // copied rather than blended at every paint.
    if (everyPixelOpaque(picture))
        picture.reinterpretAsFormat(QImage::Format_RGB32);
    return {bitmap, picture};
}

} // namespace velmora
