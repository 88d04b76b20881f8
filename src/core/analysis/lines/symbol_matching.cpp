#include "core/analysis/lines/line_assembler_parts.h"

#include <limits>
#include <numeric>

// Pass 1 of LineAssembler: the places of ink on the line, and the characters Tesseract
// read matched to them.

namespace velmora {

using line_reading::edgeAllowance;
using line_reading::underscore;

namespace {

// Costs of matching characters to ink, in line heights of distance: a character that
// stands on no ink (a mark or a letter, that Tesseract is sure of), a character
// that does not begin a word placed after a word gap, a place of ink that no
// character stands on, one more character on a place of ink wide enough for it or
// not (by its width, or by a monospace grid's cells), and how much the distance
// between centres counts.
constexpr double unmatchedCost = 0.5;
constexpr double unmatchedLetterCost = 1.0;
constexpr double unbrokenWordGapCost = 0.2;
constexpr double skippedPlaceCost = 0.3;
constexpr double sharedPlaceCost = 0.05;
constexpr double overfullPlaceCost = 0.3;
constexpr double overfullCellsCost = 0.6;
constexpr double centreWeight = 0.1;
// Extra cost of matching an underscore to a glyph, or another character to a stroke.
constexpr double underscoreOnGlyphCost = 0.5;
constexpr double glyphOnStrokeCost = 1.0;
// Matching a mark to ink of a glyph's height, or a letter or digit to a dot, costs
// this much.
constexpr double mismatchedShapeCost = 0.6;
// Character boxes narrower than this (line heights) say little about where it is.
constexpr double degenerateBoxWidth = 0.15;

} // namespace

QList<LineAssembler::Place> LineAssembler::places(qsizetype characterCount) const
{
    QList<Place> result;
    // The ink's average width per character read tells how many glyphs a cluster of
    // touching glyphs holds.
    int inkWidth = 0;
    for (const InkSegment &segment : m_ink.segments())
        inkWidth += segment.strong.width();
    const double glyphWidth = std::max(1.0, double(inkWidth) / double(std::max<qsizetype>(1, characterCount)));
    for (const InkSegment &segment : m_ink.segments()) {
        Place place{segment.strong, segment.faint, false, segment.height(), segment.bottom, 0, 1, 1, {}};
        for (const ColumnSpan &bar : m_ink.touchedBars()) {
            if (bar.left <= segment.strong.right && segment.strong.left <= bar.right)
                place.bar = place.bar.width() > 0 ? ColumnSpan{std::min(place.bar.left, bar.left), std::max(place.bar.right, bar.right)} : bar;
        }
        if (m_grid) {
            // A glyph's ink stays inside its cell, give or take its antialiased edge.
            const double edge = 0.15 * m_grid->pitch;
            place.firstCell = m_grid->cellAt(segment.strong.left + edge);
            place.cells = std::max(1, m_grid->cellAt(segment.strong.right + 1 - edge) - place.firstCell + 1);
            place.capacity = place.cells;
        } else {
            place.capacity = std::max(1, int(std::lround(segment.strong.width() / glyphWidth)));
        }
        if (place.bar.width() > 0)
            ++place.capacity; // the underscore among the touching glyphs
        result.append(place);
    }
    for (const ColumnSpan &stroke : m_ink.underscores())
        result.append(Place{stroke, stroke, true, 1, m_ink.band().bottom(), 0, 1, 1, {}});
    std::sort(result.begin(), result.end(), [](const Place &a, const Place &b) { return a.strong.left < b.strong.left; });
    return result;
}

// What it costs to match a character (covering the columns from left to right) to a
// place of ink, in line heights: the distance between them, and how little their shapes
// fit.
double LineAssembler::placeCost(const QString &text, double left, double right, const Place &place) const
{
    const double apart = std::max({0.0, place.strong.left - right, left - (place.strong.right + 1)});
    const double offCentre = std::abs((left + right) / 2 - (place.strong.centre() + 0.5));
    const bool isUnderscore = text == underscore;
    // An underscore may stand on a flat stroke that the glyphs beside it touch.
    const bool onBar = isUnderscore && place.bar.width() > 0 && place.bar.left <= right + edgeAllowance
        && left - edgeAllowance <= place.bar.right + 1;
    // A dot or a comma does not stand on a full-height glyph, nor a letter on a dot;
    // Tesseract reads the stroke of an underscore as either.
    const bool lowMark = text == QLatin1String(".") || text == QLatin1String(",");
    const bool markOnGlyph = line_reading::isSmallMark(text) && text != QLatin1String("|") && place.height > m_typography.heights(line_reading::markHeight);
    const bool letterOnDot = !text.isEmpty() && text.front().isLetterOrNumber() && place.height < m_typography.heights(line_reading::dotHeight);
    return apart / m_typography.height + centreWeight * std::min(offCentre / m_typography.height, 2.0)
        + (isUnderscore && !place.isUnderscore && !onBar ? underscoreOnGlyphCost : 0.0)
        + (!isUnderscore && !lowMark && place.isUnderscore ? glyphOnStrokeCost : 0.0)
        + (markOnGlyph || letterOnDot ? mismatchedShapeCost : 0.0);
}

// Matches characters to the places of ink in order, at the least total cost: the
// distance between each character's box and its ink, a place of ink no character
// stands on, more characters on one place than its ink is wide enough for, and
// characters that stand on nothing all cost something. Returns each character's
// place, or -1.
QList<int> LineAssembler::matchSymbols(const QList<PageSymbol> &symbols, const QList<Place> &places) const
{
    const qsizetype count = symbols.size();
    const int placeCount = int(places.size());
    // Tesseract gives the first character of a word a box of next to no width at the
    // start of the gap before it; such a character lies somewhere up to the next one.
    QList<QPair<double, double>> extents;
    for (qsizetype i = 0; i < count; ++i) {
        const QRectF &box = symbols[i].box;
        const double right = box.width() < m_typography.heights(degenerateBoxWidth) && i + 1 < count
            ? std::max(box.right(), symbols[i + 1].box.left()) : box.right();
        extents.append({box.left(), right});
    }
    const auto cost = [&](qsizetype i, int j) { return placeCost(symbols[i].text, extents[i].first, extents[i].second, places[j]); };

    // State (j, m): the last matched character is the m-th (from 0, at most the last
    // of `fill`) on place j; j = -1 before any match. best holds the least cost of the
    // characters so far ending in each state, from the state it came from (-1: the
    // character before stood on nothing and the state is unchanged). A place holds one
    // character more than the widest is wide enough for, at least four: touching glyphs
    // of a monospace line ("rg@ma") may run over five cells and more.
    const int widest = std::accumulate(places.begin(), places.end(), 0, [](int most, const Place &place) {
        return std::max(most, place.capacity);
    });
    const int fill = std::max(4, widest + 1);
    const auto state = [fill](int j, int m) { return (j + 1) * fill + m; };
    const int states = (placeCount + 1) * fill;
    constexpr double infinite = std::numeric_limits<double>::infinity();
    QList<double> best(states, infinite);
    best[state(-1, 0)] = 0;
    QList<QList<int>> from(count, QList<int>(states, -1));
    for (qsizetype i = 0; i < count; ++i) {
        QList<double> next(states, infinite);
        // Tesseract invents marks at the ends of lines, never sure of them; a letter or
        // digit it is sure of is the dearest to leave out.
        const bool mark = line_reading::isSmallMark(symbols[i].text);
        const bool letterOrDigit = !symbols[i].text.isEmpty() && symbols[i].text.front().isLetterOrNumber();
        const double unmatched = (letterOrDigit ? unmatchedLetterCost : unmatchedCost)
            * std::clamp((symbols[i].confidence - 0.8) / 0.2, 0.2, 1.0);
        const bool previousMark = i > 0 && line_reading::isSmallMark(symbols[i - 1].text);
        for (int s = 0; s < states; ++s)
            next[s] = best[s] + unmatched;
        // Least of best[(k, any)] - skip × k over the places k before j, and where.
        double earlier = best[state(-1, 0)] + skippedPlaceCost;
        int earlierState = state(-1, 0);
        for (int j = 0; j < placeCount; ++j) {
            const double here = cost(i, j);
            // A character Tesseract does not begin a word with rarely follows a word gap.
            const bool afterWordGap = j > 0 && !symbols[i].startsWord
                && places[j].strong.left - places[j - 1].strong.right - 1 >= m_typography.heights(line_reading::wordSpacingLimit);
            const double fresh = earlier + skippedPlaceCost * (j - 1) + here + (afterWordGap ? unbrokenWordGapCost : 0.0);
            if (fresh < next[state(j, 0)]) {
                next[state(j, 0)] = fresh;
                from[i][state(j, 0)] = earlierState;
            }
            for (int m = 0; m + 1 < fill; ++m) {
                // A grid counts a cluster's glyphs exactly; a width only estimates them.
                // A word never begins inside a cluster of touching glyphs, and small
                // marks stand apart from the glyphs beside them.
                const double extra = symbols[i].startsWord || mark || previousMark ? overfullCellsCost
                    : m + 1 < places[j].capacity                                   ? sharedPlaceCost
                    : m_grid                                                        ? overfullCellsCost
                                                                                    : overfullPlaceCost;
                const double again = best[state(j, m)] + extra + here;
                if (again < next[state(j, m + 1)]) {
                    next[state(j, m + 1)] = again;
                    from[i][state(j, m + 1)] = state(j, m);
                }
            }
            for (int m = 0; m < fill; ++m) {
                if (best[state(j, m)] - skippedPlaceCost * j < earlier) {
                    earlier = best[state(j, m)] - skippedPlaceCost * j;
                    earlierState = state(j, m);
                }
            }
        }
        best = std::move(next);
    }

    // Places after the last match go unmatched too.
    int last = state(-1, 0);
    double total = infinite;
    for (int s = 0; s < states; ++s) {
        const double withTail = best[s] + skippedPlaceCost * (placeCount - 1 - (s / fill - 1));
        if (withTail < total) {
            total = withTail;
            last = s;
        }
    }
    QList<int> result(count, -1);
    for (qsizetype i = count - 1; i >= 0; --i) {
        const int previous = from[i][last];
        if (previous < 0)
            continue; // stood on nothing
        result[i] = last / fill - 1;
        last = previous;
    }
    return result;
}

// Stand on ink: the places of ink (their number of glyphs estimated from the characters
// read, underscores aside), and each character Tesseract read with the place it stands
// on, or none; its columns are its box as read.
LineAssembler::Reading LineAssembler::standOnInk(const QList<PageSymbol> &symbols) const
{
    Reading reading;
    reading.places = places(std::count_if(symbols.begin(), symbols.end(), [](const PageSymbol &symbol) { return symbol.text != underscore; }));
    const QList<int> matched = matchSymbols(symbols, reading.places);
    for (qsizetype i = 0; i < symbols.size(); ++i) {
        const PageSymbol &symbol = symbols[i];
        reading.characters.append(
            {symbol.text, symbol.alternatives, false, false, symbol.confidence, symbol.startsWord, matched[i], symbol.box.left(), symbol.box.right()});
    }
    return reading;
}

} // namespace velmora
