#pragma once

#include "core/analysis/ink/ink_map.h"

#include <QRect>

namespace velmora {

// How the text of a page is set: the typical height of its characters, and the lengths
// that follow from it. It is measured once, by the layout, from the heights of the
// page's pieces of ink (the first stage that sees them), and read by every stage after
// it: the layout, the reading of its regions and the wraps count their lengths in its
// characters.
//
// The reading of one line counts in the line's own height instead, since its pieces
// are measured against that line alone: LineInk's steps in the height of its band (all
// that is known before its glyphs are), LineAssembler's passes in the height of its
// text (LineTypography). Each length is counted in one unit, named where it is turned
// into pixels (characters(), bandHeights(), heights()); a name ending in "Share" is a
// part of something named beside it (rows, ink, a contrast, a cell), never a length.
class PageTypography
{
public:
    PageTypography() = default;
    explicit PageTypography(int glyphHeight) : m_glyphHeight(glyphHeight) {}

    /// The typical height of a character (pixels): a character, as the unit of lengths.
    int glyphHeight() const { return m_glyphHeight; }
    /// A length of `count` characters, in pixels.
    double characters(double count) const { return count * m_glyphHeight; }
    /// A line of text with ascenders and descenders and the leading between lines: about
    /// twice as tall as a typical character. The lines of a block, whose own heights are
    /// not known, count in it.
    int lineHeight() const { return 2 * m_glyphHeight; }
    /// The widest word space.
    double wordSpace() const { return characters(0.5); }
    /// How far a letter's advance exceeds its ink: its side bearings, at most.
    double sideBearings() const { return characters(0.2); }
    /// How far apart the edges of texts that line up may lie: the side bearings of the
    /// different glyphs that begin or end them differ by this much at most. Less than
    /// sideBearings(), which is both bearings of one glyph.
    double edgeSpread() const { return characters(0.12); }

    friend bool operator==(const PageTypography &, const PageTypography &) = default;

private:
    int m_glyphHeight = 0;
};

/// The contrast the strong strokes of the text in an area reach: the 90th percentile of
/// its ink, which most strokes of a glyph reach and only its antialiased edges and the
/// specks between glyphs fall short of; 255 where the area holds no ink.
int strongStrokeContrast(const InkMap &ink, const QRect &area);

} // namespace velmora
