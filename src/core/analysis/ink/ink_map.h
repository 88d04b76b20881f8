#pragma once

#include <QImage>
#include <QRect>

#include <cstdint>
#include <vector>

namespace velmora {

// How far each pixel of a screen image stands out from the background around it, in
// the way a reader sees text: dark text on a light page, light text in a dark panel
// and coloured text on a coloured button all become ink. Screens are built of flat
// areas (pages, panels, bars, buttons) with text drawn on them, so each pixel is
// measured against the colour of the nearest wide flat area; a pixel with no such
// area nearby (a photograph) is measured against the luminance around it.
class InkMap
{
public:
    /// Pixels whose contrast reaches this count as ink when the page is laid out.
    static constexpr int inkThreshold = 40;
    /// Pixels whose contrast reaches this belong to a character's visible extent.
    static constexpr int faintInkThreshold = 16;
    /// How far (city-block pixels) a pixel may lie from the background it is measured against.
    static constexpr int backgroundReach = 64;

    InkMap() = default;
    /// Builds the map of an image of any format; transparent and partly transparent
    /// pixels are seen over `ground`.
    explicit InkMap(const QImage &image, QRgb ground = qRgb(255, 255, 255));

    int width() const { return m_contrast.width(); }
    int height() const { return m_contrast.height(); }
    QRect rect() const { return m_contrast.rect(); }

    /// 8-bit contrast against the background: 0 is background, 255 the strongest ink.
    const QImage &contrast() const { return m_contrast; }
    int contrastAt(int x, int y) const { return m_contrast.constScanLine(y)[x]; }

    /// True where the ground this pixel is measured against differs in colour from the
    /// ground of the pixel to its left: the edge of a window, a pane, a cell or a button.
    /// Always false in the first column.
    bool groundChangesAt(int x, int y) const { return m_groundEdges[std::size_t(y) * width() + x] != 0; }

    /// Takes the ink of the pixels where `isNotText(x, y)` for background: the rules and
    /// frames a layout set aside, which the reading of a line must not take for glyphs.
    template <typename Predicate>
    void forgetInk(Predicate isNotText)
    {
        for (int y = 0; y < height(); ++y) {
            uchar *line = m_contrast.scanLine(y);
            for (int x = 0; x < width(); ++x) {
                if (isNotText(x, y))
                    line[x] = 0;
            }
        }
    }

private:
    QImage m_contrast;
    std::vector<std::uint8_t> m_groundEdges;
};

} // namespace velmora
