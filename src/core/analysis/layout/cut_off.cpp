#include "core/analysis/layout/cut_off.h"

#include <algorithm>

namespace velmora {

namespace {

// How near an edge a line's end must come to be cut off by it. Its strong ink
// (pixels): up to the edge itself, as the column ends at the first column of what ends
// it.
constexpr double inkMargin = 0;
// The boxes of its characters (pixels), which reach a pixel or two past the glyphs'
// faint edges: a terminal, a window or a cell keeps a margin of a few pixels.
constexpr double boxMargin = 1.5;
// The next cell's text, in the line's characters: on its row where the two lines share
// this share of the shorter one's height, it starts at most this far past the line's end
// (a cell's padding and its gridline), or this far back over it.
constexpr double sameRowShare = 0.5;
constexpr double nextCellCharacters = 2.0;
constexpr double nextCellOverlap = 1.0;

TextCut cutOf(const ColumnEnd &end, const QRectF &span, double margin)
{
    return {span.left() <= margin ? CutEdge::imageEdge : CutEdge::none,
            span.right() >= end.at - margin ? end.by : CutEdge::none};
}

bool besideOnItsRow(const NormRect &line, const NormRect &other, double characterWidth)
{
    const double shared = std::min(line.maxY(), other.maxY()) - std::max(line.minY(), other.minY());
    const double gap = other.minX() - line.maxX();
    return shared >= sameRowShare * std::min(line.standardHeight(), other.standardHeight())
        && gap >= -nextCellOverlap * characterWidth && gap <= nextCellCharacters * characterWidth;
}

} // namespace

TextCut ColumnEnd::cutOfInk(const QRect &band) const
{
    return cutOf(*this, QRectF(band), inkMargin);
}

TextCut ColumnEnd::cutOfBoxes(const QRectF &box) const
{
    return cutOf(*this, box, boxMargin);
}

TextCut withSeeThrough(TextCut cut, const TextCut &bySeeThrough)
{
    if (!cut.atStart())
        cut.start = bySeeThrough.start;
    if (bySeeThrough.atEnd())
        cut.end = bySeeThrough.end;
    return cut;
}

QList<bool> endsAtACuttingEdge(const QList<TextObservation> &lines)
{
    QList<bool> edges;
    edges.reserve(lines.size());
    for (const TextObservation &line : lines) {
        const NormRect box = line.normalizedBounds().standardized();
        const double characterWidth = box.standardWidth() / std::max<qsizetype>(1, line.text().size());
        const CutEdge end = line.cut().end;
        edges.append(end == CutEdge::imageEdge || end == CutEdge::seeThrough
                     || std::any_of(lines.cbegin(), lines.cend(), [&](const TextObservation &other) {
                            return &other != &line && besideOnItsRow(box, other.normalizedBounds().standardized(), characterWidth);
                        }));
    }
    return edges;
}

} // namespace velmora
