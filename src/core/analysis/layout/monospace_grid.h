#pragma once

#include <QList>

#include <cmath>
#include <optional>

namespace velmora {

/// The character cells of a line set in a monospace font: cell k is centred on
/// origin + k × pitch (page pixels).
struct MonospaceGrid
{
    double pitch = 0;
    double origin = 0;

    /// The index of the cell whose centre is nearest to x.
    int cellAt(double x) const { return int(std::lround((x - origin) / pitch)); }
    /// Whether the glyphs with these centres stand on the grid: all but a few lie within
    /// a fifth of a cell of a cell's centre.
    bool holds(const QList<double> &glyphCentres) const;

    friend bool operator==(const MonospaceGrid &, const MonospaceGrid &) = default;
};

/// Fewer glyphs than this cannot tell a grid from chance.
inline constexpr int minimumGridGlyphs = 8;

/// Finds the cell grid of a line from the centres of its glyphs (left to right), when
/// they sit on one: a monospace font puts every glyph in a cell of the same width, so
/// that the centres fall on a regular grid (a proportional font's do not).
/// `lineHeight` bounds the pitches tried. Nothing for proportional text or too few
/// glyphs to tell.
std::optional<MonospaceGrid> findMonospaceGrid(const QList<double> &glyphCentres, double lineHeight);

} // namespace velmora
