#pragma once

#include "core/detection/text_observation.h"

#include <QList>
#include <QRect>
#include <QRectF>

namespace velmora {

// Whether a line's text is cut off at one of its ends, running on out of sight, and by
// what, is decided here, with the margins it allows (cut_off.cpp). It is asked at four
// steps of reading, each on what is known then, which is why the answers differ.

/// Where the column a line stands in ends on the right, and what ends it: the first
/// rule, edge of the ground, gap between table columns or ink beside it, else the page's
/// edge.
struct ColumnEnd
{
    int at = 0;
    CutEdge by = CutEdge::imageEdge;

    /// Before the line's characters are read, on its strong ink spanning `band`: cut off
    /// at the page's edge or the column's end only where the ink runs up to it, as the
    /// reading then takes the glyph there for a sliver, and one a pixel short is whole.
    TextCut cutOfInk(const QRect &band) const;
    /// After, on the boxes of the characters read, spanning `box`, which reach a pixel or
    /// two past their glyphs' faint edges: within a margin of those edges, as a line whose
    /// last glyph ends a pixel or two short of its column's end is cut off all the same.
    TextCut cutOfBoxes(const QRectF &box) const;

    friend bool operator==(const ColumnEnd &, const ColumnEnd &) = default;
};

/// Where a line is cut off, with where its first or last word runs on past an edge of
/// the image's alpha (`bySeeThrough`, coverWordsPastAlphaEdges): at its start the page's
/// edge goes before the alpha's, at its end the alpha's goes before what ends the column.
TextCut withSeeThrough(TextCut cut, const TextCut &bySeeThrough);

/// The detector's question, on the lines found: for each, whether its end is an edge
/// past which its text surely runs on, the image's right edge or where the image turns
/// see-through (what its cut says cuts it off), or the start of the next cell's text on
/// its row (its column ends at the cell's rule or gap, a padding short of that text, so
/// the lines of the row tell). A window's title clipped by the window's edge, or text
/// that merely ends, is not: what shows there may be all the text there is, so a value
/// that shows none of its own marks (an address's domain without a dot) is not taken for
/// one cut off.
QList<bool> endsAtACuttingEdge(const QList<TextObservation> &lines);

} // namespace velmora
