#include "core/analysis/layout/text_layout.h"

#include "core/analysis/layout/column_gaps.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

// Where the columns of a table without rules lie: gaps that line up down its rows.

namespace velmora {

namespace {

// Gaps at least this many characters wide (wider than a word space) that line up down at
// least this many rows part the columns of a table.
constexpr double alleyGap = 1.6;
constexpr int alleyRows = 3;
// A gap carries an alley on where the two have this share of the narrowest alley's
// width in common: less is the chance meeting of two different tables' gaps.
constexpr double alleyOverlapShare = 0.5;
// Narrower gaps that line up down at least this many rows, down to this many pixels (or
// characters: wider than the gaps between most letters), part columns only where the
// text on their two sides is laid out apart, as cells are.
constexpr int narrowAlleyRows = 4;
constexpr int narrowestAlley = 2;
constexpr double narrowAlley = 0.3;
// Edges of text line up where this share of the rows (and at least alleyRows) put them
// within the spread of the side bearings of the glyphs that begin or end them
// (PageTypography::edgeSpread()). They are ragged where they fall into at least
// alleyRows groups that far apart, spread over at least this many characters: texts of
// different lengths (a column may line up in most rows and still be ragged where a
// heading or a wrapped cell ends elsewhere; one row apart from the rest is not).
constexpr double alignedRowShare = 0.8;
constexpr double raggedSpread = 0.5;
// Texts whose ink per column differs by at most this share are the same text.
constexpr double sameTextShare = 0.15;
// Ink narrower than this many characters beside a gap, or in a band lower than this
// many, is no cell's text (the side of a field's border, a lone mark, the
// rounded corner of a bubble).
constexpr double narrowestText = 0.5;
constexpr double lowestText = 0.6;

/// The ink of one band of a box: its rows, and its count of ink per column from the
/// box's left edge.
struct BandInk
{
    int top = 0;
    int bottom = 0;
    std::vector<int> columns;
};

/// The text on one side of a gap in one band, up to the next gap that parts columns:
/// where its ink begins and ends (page x) and its ink per column between.
struct Side
{
    int start = -1;
    int end = -1;
    std::vector<int> ink;
};

/// The text on both sides of a gap in one band.
struct Sides
{
    const BandInk *band = nullptr;
    Side left;
    Side right;
};

/// Finds the gaps of a band that may part columns: (columns, left, narrowest, band height).
using GapsOfBand = QList<ColumnGap> (*)(const std::vector<int> &, int, int, int);

// Gaps of the bands that line up down at least `rows` of them, sharing at least
// `overlapping` columns from one band to the next: the x range common to them all, over
// their rows. A band whose ink does not reach a gap's place neither continues nor ends it.
QList<QRect> lineUp(const QRect &box, const QList<BandInk> &bands, GapsOfBand gapsOf, int narrowest, int overlapping, int rows)
{
    struct Open
    {
        ColumnGap common;
        int top = 0;
        int bottom = 0;
        int rows = 0;
    };
    QList<QRect> alleys;
    const auto close = [&alleys, rows](const Open &alley) {
        if (alley.rows >= rows)
            alleys.append(QRect(QPoint(alley.common.start, alley.top), QPoint(alley.common.end, alley.bottom)));
    };
    QList<Open> open;
    for (const BandInk &band : bands) {
        const auto first = std::find_if(band.columns.begin(), band.columns.end(), [](int c) { return c > 0; });
        const auto last = std::find_if(band.columns.rbegin(), band.columns.rend(), [](int c) { return c > 0; });
        if (first == band.columns.end())
            continue;
        const int inkLeft = box.left() + int(first - band.columns.begin());
        const int inkRight = box.right() - int(last - band.columns.rbegin());
        const QList<ColumnGap> gaps = gapsOf(band.columns, box.left(), narrowest, band.bottom - band.top + 1);
        // A gap may carry on several alleys (a short cell leaves one wide gap), and also
        // starts one of its own where none carries on all of it.
        QList<bool> carriedWhole(gaps.size(), false);
        QList<Open> next;
        for (const Open &alley : std::as_const(open)) {
            if (alley.common.end < inkLeft || alley.common.start > inkRight) {
                next.append(alley);
                continue;
            }
            qsizetype best = -1;
            ColumnGap common;
            for (qsizetype g = 0; g < gaps.size(); ++g) {
                const ColumnGap overlap{std::max(alley.common.start, gaps[g].start), std::min(alley.common.end, gaps[g].end)};
                if (overlap.width() >= overlapping && (best < 0 || overlap.width() > common.width())) {
                    best = g;
                    common = overlap;
                }
            }
            if (best < 0) {
                close(alley);
                continue;
            }
            carriedWhole[best] = carriedWhole[best] || common.width() == gaps[best].width();
            next.append({common, alley.top, band.bottom, alley.rows + 1});
        }
        for (qsizetype g = 0; g < gaps.size(); ++g) {
            if (!carriedWhole[g])
                next.append({gaps[g], band.top, band.bottom, 1});
        }
        open = std::move(next);
    }
    for (const Open &alley : std::as_const(open))
        close(alley);
    return alleys;
}

// The text between two columns of a band (page x, both excluded).
Side sideBetween(const QRect &box, const BandInk &band, int after, int before)
{
    Side side;
    for (int x = after + 1; x < before; ++x) {
        if (band.columns[x - box.left()] > 0) {
            side.start = side.start < 0 ? x : side.start;
            side.end = x;
        }
    }
    if (side.start >= 0)
        side.ink.assign(band.columns.begin() + (side.start - box.left()), band.columns.begin() + (side.end - box.left() + 1));
    return side;
}

// The text on either side of an alley in each band it runs down, where there is text on
// both sides; each side reaches to the next of the other alleys that runs down all of
// the alley's rows, so that it is alike in every row.
QList<Sides> sidesOf(const QRect &box, const QList<BandInk> &bands, const QRect &alley, const QList<QRect> &alleys,
                     const PageTypography &typography)
{
    int before = box.left() - 1, after = box.right() + 1;
    for (const QRect &other : alleys) {
        if (other.top() > alley.top() || other.bottom() < alley.bottom())
            continue;
        if (other.right() < alley.left())
            before = std::max(before, other.right());
        if (other.left() > alley.right())
            after = std::min(after, other.left());
    }
    QList<Sides> result;
    for (const BandInk &band : bands) {
        if (band.top < alley.top() || band.bottom > alley.bottom())
            continue;
        Sides sides{&band, sideBetween(box, band, before, alley.left()), sideBetween(box, band, alley.right(), after)};
        const auto isText = [&typography](const Side &side) {
            return side.start >= 0 && side.end - side.start + 1 >= typography.characters(narrowestText);
        };
        if (band.bottom - band.top + 1 >= typography.characters(lowestText) && isText(sides.left) && isText(sides.right))
            result.append(std::move(sides));
    }
    return result;
}

/// How the edges of texts in several rows lie.
struct Edges
{
    bool aligned = false; ///< Most lie within the bearings of a glyph of `at`.
    bool ragged = false;  ///< They spread over much of a character.
    int at = 0;
    double bearing = 1;

    bool holds(int x) const { return std::abs(x - at) <= bearing; }
};

Edges edges(QList<int> xs, const PageTypography &typography)
{
    Edges result;
    result.bearing = std::max(1.0, typography.edgeSpread());
    std::sort(xs.begin(), xs.end());
    qsizetype together = 0, groups = 0;
    for (qsizetype k = 0; k < xs.size(); ++k) {
        const auto near = std::count_if(xs.cbegin(), xs.cend(), [&](int x) { return std::abs(xs[k] - x) <= result.bearing; });
        if (near > together) {
            together = near;
            result.at = xs[k];
        }
        groups += k == 0 || xs[k] - xs[k - 1] > result.bearing;
    }
    result.aligned = together >= std::max<qsizetype>(alleyRows, qsizetype(std::ceil(alignedRowShare * double(xs.size()))));
    result.ragged = groups >= alleyRows && xs.back() - xs.front() >= typography.characters(raggedSpread);
    return result;
}

// Whether the text on one side of a gap is the same in every row (a label before each
// value, a prefix they share): its ink lies in the same columns, nearly pixel for pixel.
bool sameInEveryRow(const QList<Side> &sides)
{
    const Side &first = sides.front();
    return std::all_of(sides.cbegin(), sides.cend(), [&first](const Side &side) {
        if (std::abs(side.start - first.start) > 1 || std::abs(side.end - first.end) > 1)
            return false;
        int differ = 0, ink = 0;
        for (std::size_t k = 0; k < std::max(side.ink.size(), first.ink.size()); ++k) {
            const int mine = k < side.ink.size() ? side.ink[k] : 0;
            const int theirs = k < first.ink.size() ? first.ink[k] : 0;
            differ += std::abs(mine - theirs);
            ink += theirs;
        }
        return differ <= sameTextShare * ink;
    });
}

// The rows in which a gap that lines up down them parts two cells: where the texts on
// its two sides are laid out apart, as the texts of two cells are, rather than as one
// text with a space. The edges of one side beside the gap line up while those of the
// other are ragged (a left-aligned column after text of different lengths, a column of
// right-aligned numbers before one of ragged starts), or the alignment changes at the
// gap: the far edges of both sides line up while the near ones are ragged (left-aligned
// text before right-aligned numbers), or the other way round (right-aligned numbers
// before left-aligned text). The gap parts the rows whose edges keep to that alignment,
// when among those rows the others are ragged: not a heading that keeps to another, nor
// a row whose text runs on through the gap, over an empty cell. A side that is the same
// text in every row is a label or a prefix, not a cell.
QList<const BandInk *> rowsParted(const QList<Sides> &rows, const PageTypography &typography)
{
    if (rows.size() < narrowAlleyRows)
        return {};
    QList<Side> lefts, rights;
    // Per edge, in each row: where the left text starts and ends, where the right one
    // starts and ends.
    enum Edge { farLeft, nearLeft, nearRight, farRight };
    std::array<QList<int>, 4> at;
    for (const Sides &row : rows) {
        lefts.append(row.left);
        rights.append(row.right);
        at[farLeft].append(row.left.start);
        at[nearLeft].append(row.left.end);
        at[nearRight].append(row.right.start);
        at[farRight].append(row.right.end);
    }
    if (sameInEveryRow(lefts) || sameInEveryRow(rights))
        return {};
    std::array<Edges, 4> edge;
    for (int k = 0; k < 4; ++k)
        edge[k] = edges(at[k], typography);
    // The rows that keep to the edges that line up, when among them the other edges
    // given are ragged.
    const auto parted = [&](const QList<Edge> &aligned, const QList<Edge> &ragged) -> QList<const BandInk *> {
        if (std::any_of(aligned.cbegin(), aligned.cend(), [&](Edge k) { return !edge[k].aligned; }))
            return {};
        QList<const BandInk *> bands;
        std::array<QList<int>, 4> kept;
        for (qsizetype r = 0; r < rows.size(); ++r) {
            if (std::all_of(aligned.cbegin(), aligned.cend(), [&](Edge k) { return edge[k].holds(at[k][r]); })) {
                bands.append(rows[r].band);
                for (int k = 0; k < 4; ++k)
                    kept[k].append(at[k][r]);
            }
        }
        const bool apart = bands.size() >= narrowAlleyRows
            && std::all_of(ragged.cbegin(), ragged.cend(), [&](Edge k) { return edges(kept[k], typography).ragged; });
        return apart ? bands : QList<const BandInk *>{};
    };
    const std::pair<QList<Edge>, QList<Edge>> layouts[]{
        {{nearRight}, {nearLeft}}, {{nearLeft}, {nearRight}}, {{farLeft, farRight}, {nearLeft, nearRight}},
        {{nearLeft, nearRight}, {farLeft, farRight}}};
    for (const auto &[aligned, ragged] : layouts) {
        if (const QList<const BandInk *> bands = parted(aligned, ragged); !bands.isEmpty())
            return bands;
    }
    return {};
}

} // namespace

// Gaps wider than a word space that line up down several of the bands of a box are
// the space between two columns of a table without rules: each band is cut there,
// however narrow the gap. Narrower gaps that line up are the space between two cells
// where the text on their two sides is laid out apart.
void TextLayout::findAlleys(const QRect &box, const QList<Run> &bands)
{
    QList<BandInk> inks;
    for (const Run &band : bands) {
        BandInk ink{box.top() + band.start, box.top() + band.start + band.length - 1, std::vector<int>(box.width(), 0)};
        for (int y = ink.top; y <= ink.bottom; ++y) {
            for (int x = box.left(); x <= box.right(); ++x)
                ink.columns[x - box.left()] += m_ink[index(x, y)];
        }
        inks.append(std::move(ink));
    }
    const int wide = std::max(3, int(std::lround(m_typography.characters(alleyGap))));
    const QList<QRect> wideAlleys = lineUp(box, inks, columnGaps, wide, std::max(3, int(std::lround(alleyOverlapShare * wide))), alleyRows);
    const int narrow = std::max(narrowestAlley, int(std::lround(m_typography.characters(narrowAlley))));
    const QList<QRect> narrowAlleys = lineUp(box, inks, cellGaps, narrow, 1, narrowAlleyRows);
    const QList<QRect> all = wideAlleys + narrowAlleys;
    m_alleys.append(wideAlleys);
    for (const QRect &alley : narrowAlleys) {
        for (const BandInk *band : rowsParted(sidesOf(box, inks, alley, all, m_typography), m_typography))
            m_alleys.append(QRect(alley.left(), band->top, alley.width(), band->bottom - band->top + 1));
    }
}

} // namespace velmora
