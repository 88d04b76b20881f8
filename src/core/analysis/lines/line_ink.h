#pragma once

#include "core/analysis/ink/ink_map.h"

#include <QList>
#include <QRect>

namespace velmora {

/// A run of page columns, both ends included.
struct ColumnSpan
{
    int left = 0;
    int right = -1;

    int width() const { return right - left + 1; }
    double centre() const { return (left + right) / 2.0; }
    friend bool operator==(const ColumnSpan &, const ColumnSpan &) = default;
};

/// A glyph, or glyphs whose ink touches: its strong ink, and the faint edges around it.
struct InkSegment
{
    ColumnSpan strong;
    ColumnSpan faint;
    int top = 0;    ///< Highest row of strong ink.
    int bottom = 0; ///< Lowest row of strong ink.

    int height() const { return bottom - top + 1; }

    friend bool operator==(const InkSegment &, const InkSegment &) = default;
};

// The ink of one line of text: its glyphs (connected ink; glyphs that touch stay one),
// and the underscores, which are told apart by having ink only in a thin stroke at
// the bottom of the line with nothing above it. A stroke that runs on under the
// letters beside it is an underline, not an underscore.
//
// It is found in steps over a profile of the line (line_ink.cpp), each reading what the
// steps before it measured, in this order (lengths count in the height of the band, all
// that is known of the line before its glyphs are):
// 1. profile: the ink of each column, the contrast of the line's strong strokes, and
//    from what contrast ink is a glyph's (less for dim text beside bright text);
// 2. baseline: the row most columns of glyph ink end on;
// 3. underscores: strokes below the baseline with nothing above them;
// 4. bars: flat strokes at the bottom that glyphs touch;
// 5. pieces: connected glyph ink, clusters parted by their strong ink (a flat mark
//    between the parts kept), the tips of a neighbouring line's glyphs left out;
// 6. stacking: pieces over one another are one glyph;
// 7. faint ends: the faint rounded ends of a frame at either end of the line;
// 8. faint edges: the antialiased edges beside each glyph.
// A rule about the shape of the ink (a mark, a stroke, what a glyph is) belongs to the
// step that finds that shape; one about what a character read on it means, to
// LineAssembler's passes.
class LineInk
{
public:
    /// `partedFromNeighbours`: the band was cut from lines that touch it, whose glyph
    /// tips along the cut are not this line's.
    LineInk(const InkMap &ink, const QRect &band, bool partedFromNeighbours = false);

    const QRect &band() const { return m_band; }
    /// Glyphs from left to right (their columns may overlap a little); underscores are
    /// not among them.
    const QList<InkSegment> &segments() const { return m_segments; }
    /// Underscore strokes from left to right.
    const QList<ColumnSpan> &underscores() const { return m_underscores; }
    /// Flat strokes at the bottom of the line that glyphs touch, from left to right:
    /// in a tightly set typeface an underscore joins the letters beside it, so its
    /// stroke is part of their glyph. Only a character read as an underscore is
    /// placed on one.
    const QList<ColumnSpan> &touchedBars() const { return m_touchedBars; }
    /// Faint ink at either end of the line that is no glyph, from left to right: the
    /// rounded end of a frame around the text, or the sliver of a glyph cut off at a rule.
    const QList<ColumnSpan> &faintEnds() const { return m_faintEnds; }

private:
    QRect m_band;
    QList<InkSegment> m_segments;
    QList<ColumnSpan> m_underscores;
    QList<ColumnSpan> m_touchedBars;
    QList<ColumnSpan> m_faintEnds;
};

} // namespace velmora
