#include "core/analysis/layout/monospace_grid.h"

#include "core/support/upper_median.h"

#include <algorithm>
#include <complex>
#include <numbers>

namespace velmora {

namespace {

// Monospace pitches lie between these many line heights (ascenders to descenders, or
// less for a line without them). A line of capitals and digits alone is only as tall as
// a capital, which in typefaces with short capitals is as tall as the cell is wide: its
// pitch may reach the larger limit, where most neighbouring glyphs stand that far apart
// (where only some do, they stand beside a space narrower than a digit, of a
// proportional typeface) and nearly every neighbour stands a whole number of cells from
// the glyph before it (where touching glyphs of a proportional typeface may otherwise
// fall on a grid by chance).
constexpr double smallestPitch = 0.4;
constexpr double largestPitch = 0.95;
constexpr double largestCapitalsPitch = 1.1;
constexpr double capitalsStepSlack = 0.12;
// How far from the median step between neighbours the pitch is looked for.
constexpr double searchShare = 0.08;
// How strongly the centres must agree on one phase (1 = all exactly on the grid).
constexpr double minimumAgreement = 0.72;
// Share of centres that must lie within a fifth of a cell of the grid.
constexpr double minimumOnGrid = 0.75;

// Whether nearly every neighbour stands a whole number of cells from the glyph before it.
bool stepsWholeCells(const QList<double> &centres, double pitch)
{
    qsizetype whole = 0;
    for (qsizetype i = 1; i < centres.size(); ++i) {
        const double cells = (centres[i] - centres[i - 1]) / pitch;
        whole += cells > 0.5 && std::abs(cells - std::round(cells)) <= capitalsStepSlack;
    }
    return whole >= minimumOnGrid * (centres.size() - 1);
}

// How well the centres agree on a grid of this pitch, and the grid's phase.
std::complex<double> phaseSum(const QList<double> &centres, double pitch)
{
    std::complex<double> sum;
    for (const double c : centres)
        sum += std::polar(1.0, 2 * std::numbers::pi * c / pitch);
    return sum / double(centres.size());
}

} // namespace

std::optional<MonospaceGrid> findMonospaceGrid(const QList<double> &glyphCentres, double lineHeight)
{
    if (glyphCentres.size() < minimumGridGlyphs || lineHeight <= 0)
        return std::nullopt;
    // Neighbouring glyphs of a monospace line mostly lie one pitch apart: the median
    // step between neighbours is close to it.
    const double smallest = smallestPitch * lineHeight;
    const double largest = largestPitch * lineHeight;
    QList<double> steps;
    for (qsizetype i = 1; i < glyphCentres.size(); ++i) {
        const double step = glyphCentres[i] - glyphCentres[i - 1];
        if (step >= smallest && step <= largestCapitalsPitch * lineHeight)
            steps.append(step);
    }
    const auto wider = std::count_if(steps.begin(), steps.end(), [largest](double step) { return step > largest; });
    const bool capitals = 2 * wider > steps.size();
    if (!capitals)
        steps.removeIf([largest](double step) { return step > largest; });
    if (steps.size() < minimumGridGlyphs / 2)
        return std::nullopt;
    const double estimate = upperMedian(std::move(steps));

    // The pitch near that estimate that the centres agree on best, in steps fine
    // enough that the phase drifts by under a tenth of a cell across the line.
    const auto [first, last] = std::minmax_element(glyphCentres.begin(), glyphCentres.end());
    const double extent = std::max(1.0, *last - *first);
    const double increment = std::max(0.001, 0.1 * estimate * estimate / extent);
    std::optional<double> best;
    double bestAgreement = minimumAgreement;
    for (double pitch = (1 - searchShare) * estimate; pitch <= (1 + searchShare) * estimate; pitch += increment) {
        const double agreement = std::abs(phaseSum(glyphCentres, pitch));
        if (agreement >= bestAgreement) {
            best = pitch;
            bestAgreement = agreement;
        }
    }
    if (!best || (capitals && !stepsWholeCells(glyphCentres, *best)))
        return std::nullopt;

    const double phase = std::arg(phaseSum(glyphCentres, *best));
    MonospaceGrid grid{*best, phase / (2 * std::numbers::pi) * *best};
    return grid.holds(glyphCentres) ? std::optional(grid) : std::nullopt;
}

bool MonospaceGrid::holds(const QList<double> &glyphCentres) const
{
    const auto onGrid = std::count_if(glyphCentres.begin(), glyphCentres.end(), [this](double c) {
        return std::abs(c - (origin + cellAt(c) * pitch)) <= 0.2 * pitch;
    });
    return onGrid >= minimumOnGrid * glyphCentres.size();
}

} // namespace velmora
