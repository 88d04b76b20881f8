#include "core/analysis/layout/column_gaps.h"

#include "core/analysis/layout/monospace_grid.h"

#include <algorithm>

namespace velmora {

namespace {

// Beside monospace text a gap that parts columns is at least this many cells wide.
constexpr double columnGapCells = 1.85;
// The glyphs on either side of a gap that tell whether the text there is monospace.
constexpr qsizetype glyphsBesideGap = 16;

// The centres of the runs of ink between the gaps: mostly one glyph each, as monospace
// glyphs rarely touch.
QList<double> runCentres(const std::vector<int> &columns, int left)
{
    QList<double> centres;
    int runStart = -1;
    for (int i = 0; i <= int(columns.size()); ++i) {
        const bool ink = i < int(columns.size()) && columns[i] > 0;
        if (ink && runStart < 0)
            runStart = i;
        if (!ink && runStart >= 0) {
            centres.append(left + (runStart + i - 1) / 2.0);
            runStart = -1;
        }
    }
    return centres;
}

bool narrowerThanCells(const ColumnGap &gap, const std::optional<MonospaceGrid> &grid)
{
    return grid && gap.width() < columnGapCells * grid->pitch;
}

} // namespace

QList<ColumnGap> interiorGaps(const std::vector<int> &columns, int left)
{
    QList<ColumnGap> gaps;
    int lastInk = -1;
    for (int i = 0; i < int(columns.size()); ++i) {
        if (columns[i] == 0)
            continue;
        if (lastInk >= 0 && i > lastInk + 1)
            gaps.append({left + lastInk + 1, left + i - 1});
        lastInk = i;
    }
    return gaps;
}

QList<ColumnGap> columnGaps(const std::vector<int> &columns, int left, int narrowest, int bandHeight)
{
    const QList<ColumnGap> gaps = interiorGaps(columns, left);
    const QList<double> centres = runCentres(columns, left);
    QList<ColumnGap> wide;
    for (qsizetype k = 0; k < gaps.size(); ++k) {
        if (gaps[k].width() < narrowest)
            continue;
        // Gap k lies between runs k and k + 1.
        const qsizetype before = std::max<qsizetype>(0, k + 1 - glyphsBesideGap);
        const QList<QList<double>> sides{centres.mid(before, k + 1 - before), centres.mid(k + 1, glyphsBesideGap)};
        const bool tooNarrow = std::any_of(sides.cbegin(), sides.cend(), [&](const QList<double> &side) {
            return narrowerThanCells(gaps[k], findMonospaceGrid(side, bandHeight));
        });
        if (!tooNarrow)
            wide.append(gaps[k]);
    }
    return wide;
}

QList<ColumnGap> cellGaps(const std::vector<int> &columns, int left, int narrowest, int bandHeight)
{
    const auto grid = findMonospaceGrid(runCentres(columns, left), bandHeight);
    QList<ColumnGap> gaps = interiorGaps(columns, left);
    gaps.removeIf([&](const ColumnGap &gap) { return gap.width() < narrowest || narrowerThanCells(gap, grid); });
    return gaps;
}

} // namespace velmora
