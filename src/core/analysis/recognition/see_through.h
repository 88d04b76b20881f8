#pragma once

#include <QImage>
#include <QList>
#include <QRect>

namespace velmora {

// Where an image is not wholly opaque: the alpha of each of its pixels. A viewer shows
// such pixels over its own ground, so what they hold may read differently on each.
class SeeThrough
{
public:
    /// The alpha of an image of any format; an image without an alpha channel is opaque.
    explicit SeeThrough(const QImage &image);

    /// Whether any pixel is not wholly opaque.
    bool anywhere() const { return m_anywhere; }
    /// Whether any pixel of `box` is not wholly opaque.
    bool within(const QRect &box) const;
    /// 0 (transparent) to 255 (opaque).
    int alphaAt(int x, int y) const { return m_anywhere ? qAlpha(pixels(y)[x]) : 255; }
    /// The alpha of the pixels of `box`, which lies in the image.
    SeeThrough part(const QRect &box) const;

    /// Neighbouring columns whose grounds differ by this much alpha lie on either side of
    /// an edge of the alpha; a shadow's gradual fade is none.
    static constexpr int edgeStep = 32;
    /// The least alpha down column x of `band`: its ground's, which shows around any glyph.
    int groundAlpha(const QRect &band, int x) const;
    /// Whether an edge of the alpha runs between two neighbouring columns of `band`, both
    /// of whose grounds show: where one is wholly transparent (outside a window's rounded
    /// corner) nothing shows beyond the edge.
    bool edgeWithin(const QRect &band) const;
    /// The pixels of `box` as they are without their alpha: each in its own colour, wholly
    /// opaque, and a wholly transparent one white. Text in a layer made partly transparent
    /// reads the same on either side of the layer's edge.
    QImage unfaded(const QRect &box) const;

    /// Rectangles that together hold every pixel that is not wholly opaque, made of
    /// square tiles: along each band of rows a tile tall, each run of tiles that hold
    /// such a pixel, joined with the run of the same tiles in the band above. A hole of
    /// one pixel, rounded corners or a window's shadow give a few small rectangles.
    QList<QRect> parts() const;

private:
    SeeThrough() = default;
    const QRgb *pixels(int y) const { return reinterpret_cast<const QRgb *>(m_argb.constScanLine(y)); }

    QImage m_argb; ///< The image as ARGB32; null when opaque.
    bool m_anywhere = false;
};

} // namespace velmora
