#pragma once

#include <QList>

#include <vector>

namespace velmora {

/// Empty columns [start, end] of a profile of ink, with ink on both sides, in page x.
struct ColumnGap
{
    int start = 0;
    int end = 0;
    int width() const { return end - start + 1; }
};

/// The gaps of a profile of ink counts per column whose first column lies at page x `left`.
QList<ColumnGap> interiorGaps(const std::vector<int> &columns, int left);

/// The gaps of a band of text that may part two columns of a table: at least `narrowest`
/// wide, and, beside monospace text, wider than a single space is there (a thin
/// monospace typeface leaves one nearly two cells wide between the ink of its glyphs).
QList<ColumnGap> columnGaps(const std::vector<int> &columns, int left, int narrowest, int bandHeight);

/// The gaps of a band of text that may part two cells: at least `narrowest` wide, and,
/// where the whole band is monospace text, wider than a single space is there. (The
/// digits of a proportional typeface are as wide as each other, so only the band as a
/// whole tells a terminal from columns of numbers.)
QList<ColumnGap> cellGaps(const std::vector<int> &columns, int left, int narrowest, int bandHeight);

} // namespace velmora
