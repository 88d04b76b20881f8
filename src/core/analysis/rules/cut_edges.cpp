#include "core/analysis/rules/cut_edges.h"

#include <algorithm>

namespace velmora {

namespace {

// The next cell's text starts within this many of the line's characters: a cell's
// padding and its gridline.
constexpr double kNextCellCharacters = 2.0;

bool besideOnItsRow(const NormRect &line, const NormRect &other, double characterWidth)
{
    const double shared = std::min(line.maxY(), other.maxY()) - std::max(line.minY(), other.minY());
    const double gap = other.minX() - line.maxX();
    return shared >= 0.5 * std::min(line.standardHeight(), other.standardHeight()) && gap >= -characterWidth
        && gap <= kNextCellCharacters * characterWidth;
}

} // namespace

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
