#pragma once

#include <QImage>

namespace velmora {

// A decoded bitmap and the picture the canvas draws of it: the same pixels in a format
// the screen's pixmaps take as they are (RGB32 when every pixel is opaque, premultiplied
// ARGB32 else, the raster formats of a 24-bit X screen), made off the main thread where
// the bitmap is decoded. QPixmap::fromImage converts any other format on the GUI thread,
// for tens of milliseconds at 4K. The two share their pixels when the bitmap is in such
// a format already, as every opaque import is.
struct ScreenBitmap
{
    QImage bitmap;  ///< As decoded: what scans and the cleaned output are made of.
    QImage picture; ///< What the canvas draws.

    /// Makes the picture; runs on a pool.
    static ScreenBitmap of(const QImage &bitmap);
    bool isNull() const { return bitmap.isNull(); }
};

} // namespace velmora
