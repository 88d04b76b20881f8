#pragma once

#include "core/analysis/ink_map.h"

#include <QList>
#include <QRect>

#include <cstdint>
#include <vector>

namespace velmora {

/// A part of the page that holds text, in the pixels of the page.
struct TextRegion
{
    QRect box;
    bool singleLine = true; ///< One line of text, else a block of lines that touch.
    int bleed = 0;          ///< Rows past the box that its glyphs may reach, where it was cut from a touching line.

    friend bool operator==(const TextRegion &, const TextRegion &) = default;
};

// Finds the text regions of a screen image from its ink map. Rules, frames and field
// borders are set aside first, since a border beside a token reads as "|" or "l".
// The page is then cut recursively through rows and columns without ink into regions
// that hold one line each, so that no line or token is ever cut in two. Columns are
// cut only at gaps wider than any word space of the text beside them; lines that
// touch are parted at the row with the least ink, and their glyphs may reach across.
class TextLayout
{
public:
    /// A run of rows or columns.
    struct Run
    {
        int start = 0;
        int length = 0;
    };

    explicit TextLayout(const InkMap &ink);

    /// The regions in reading order: top to bottom, columns left to right.
    const QList<TextRegion> &regions() const { return m_regions; }
    /// The typical height of a character of the page's text.
    int typicalGlyphHeight() const { return m_typicalGlyphHeight; }
    /// True for ink that belongs to a rule or a frame, not to text.
    bool isSetAside(int x, int y) const { return m_setAside[index(x, y)]; }

private:
    std::size_t index(int x, int y) const { return std::size_t(y) * m_width + x; }
    void setAsideRulesAndFrames();
    void cut(const QRect &area, int bleed);
    QList<Run> joinThinBands(QList<Run> bands) const;
    QRect inkBounds(const QRect &area) const;

    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_ink;
    std::vector<std::uint8_t> m_setAside;
    int m_typicalGlyphHeight = 0;
    QList<TextRegion> m_regions;
};

} // namespace velmora
