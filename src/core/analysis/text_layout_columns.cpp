#include "core/analysis/text_layout.h"

#include "core/analysis/monospace_grid.h"

#include <algorithm>
#include <cmath>
#include <optional>

// Where a line or a block of the page is cut into columns.

namespace velmora {

namespace {

// Columns are cut at gaps of at least this many line heights: wider than any word
// space, and wider than the runs of spaces that align code.
constexpr double columnGapFactor = 2.5;
// A vertical rule or border parts columns where it runs through this share of the rows.
constexpr double ruleShare = 0.8;
// The ground changes at the edge of a window, a pane or a cell through this share of
// the rows of a line and of a margin of this share of a character above and below it.
constexpr double groundEdgeShare = 0.9;
constexpr double groundEdgeMargin = 0.25;
// How far (pixels) the change may stray from the edge's column in a row, and the share
// of rows in which it lies in the column itself.
constexpr int edgeJitter = 3;
constexpr double exactEdgeShare = 0.4;
// With ink this close (characters) on both sides, a ground edge runs through a word (a
// selection, a highlight): only the edge of a window or a pane, which runs on at least
// this far (characters) above or below the line, parts it.
constexpr double wordReach = 0.5;
constexpr double windowEdgeReach = 1.5;
// Gaps at least this wide (characters: wider than a word space) that line up down at
// least this many rows part the columns of a table without rules. Beside monospace
// text they must also be this many cells wide: a thin monospace typeface leaves a
// single space nearly two cells wide between the ink of its glyphs.
constexpr double alleyGapFactor = 1.6;
constexpr int alleyRows = 3;
constexpr double alleyCells = 1.85;
// The glyphs on either side of a gap that tell whether the text there is monospace.
constexpr qsizetype glyphsBesideGap = 16;
// A gap carries an alley on where the two have this share of the narrowest alley's
// width in common: less is the chance meeting of two different tables' gaps.
constexpr double alleyOverlapShare = 0.5;

/// Empty columns [start, end] of a profile with ink on both sides, in page x.
struct Gap
{
    int start = 0;
    int end = 0;
    int width() const { return end - start + 1; }
};

QList<Gap> interiorGaps(const std::vector<int> &columns, int left)
{
    QList<Gap> gaps;
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

// The gaps of a band that may part two columns of a table: at least `narrowest` wide,
// and wider than two cells where the text beside is monospace.
QList<Gap> columnGaps(const std::vector<int> &columns, int left, int narrowest, int bandHeight)
{
    const QList<Gap> gaps = interiorGaps(columns, left);
    // Runs of ink between the gaps: mostly one glyph each, as monospace glyphs rarely touch.
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
    QList<Gap> wide;
    for (qsizetype k = 0; k < gaps.size(); ++k) {
        if (gaps[k].width() < narrowest)
            continue;
        // Gap k lies between runs k and k + 1.
        const qsizetype before = std::max<qsizetype>(0, k + 1 - glyphsBesideGap);
        const QList<QList<double>> sides{centres.mid(before, k + 1 - before), centres.mid(k + 1, glyphsBesideGap)};
        const bool tooNarrow = std::any_of(sides.cbegin(), sides.cend(), [&](const QList<double> &side) {
            const auto grid = findMonospaceGrid(side, bandHeight);
            return grid && gaps[k].width() < alleyCells * grid->pitch;
        });
        if (!tooNarrow)
            wide.append(gaps[k]);
    }
    return wide;
}

} // namespace

QList<int> TextLayout::columnCuts(const QRect &box, const std::vector<int> &columns, double lineHeight) const
{
    const int wideGap = std::max(6, int(std::lround(columnGapFactor * lineHeight)));
    QList<int> cuts;
    QList<Gap> cutGaps;
    for (const Gap &gap : interiorGaps(columns, box.left())) {
        bool parts = gap.width() >= wideGap;
        for (int x = gap.start; x <= gap.end && !parts; ++x)
            parts = ruleAt(box, x) || alleyAt(box, x);
        if (parts) {
            cuts.append(gap.end + 1);
            cutGaps.append(gap);
        }
    }
    for (int x = box.left() + 1; x <= box.right(); ++x) {
        const bool inCutGap = std::any_of(cutGaps.cbegin(), cutGaps.cend(),
                                          [x](const Gap &gap) { return x >= gap.start && x <= gap.end + 1; });
        if (!inCutGap && groundEdgeParts(box, x, columns)) {
            cuts.append(x);
            x += edgeJitter;
        }
    }
    std::sort(cuts.begin(), cuts.end());
    return cuts;
}

// Whether a vertical rule or border set aside runs down column x through the box's rows.
bool TextLayout::ruleAt(const QRect &box, int x) const
{
    int count = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        count += m_setAside[index(x, y)];
    return count >= ruleShare * box.height();
}

// Whether the ground changes colour in row y within a few pixels of column x.
bool TextLayout::groundChangesNear(int x, int y) const
{
    for (int at = std::max(1, x - edgeJitter); at <= std::min(m_width - 1, x + edgeJitter); ++at) {
        if (m_groundEdges[index(at, y)])
            return true;
    }
    return false;
}

// Whether the ground changes colour between columns x - 1 and x all down the box's
// rows and a little above and below: the edge of a window, a pane or a cell. Where
// glyphs touch the edge, their pixels may take the ground of either side, so in some
// rows the change lies a pixel or two away.
bool TextLayout::groundEdgeAt(const QRect &box, int x) const
{
    if (!groundChangesNear(x, box.center().y()))
        return false;
    const int margin = int(std::lround(groundEdgeMargin * m_typicalGlyphHeight));
    const int top = std::max(0, box.top() - margin);
    const int bottom = std::min(m_height - 1, box.bottom() + margin);
    int nearby = 0, exact = 0;
    for (int y = top; y <= bottom; ++y) {
        nearby += groundChangesNear(x, y);
        exact += m_groundEdges[index(x, y)];
    }
    const int rows = bottom - top + 1;
    return nearby >= groundEdgeShare * rows && exact >= exactEdgeShare * rows;
}

// Whether a ground edge at x parts the box, with ink on both sides: even through ink,
// since the text behind a window's edge runs up to it, but inside a word only where
// the edge runs on far above or below the line, as a window's or a pane's does.
bool TextLayout::groundEdgeParts(const QRect &box, int x, const std::vector<int> &columns) const
{
    if (!groundEdgeAt(box, x))
        return false;
    const int at = x - box.left();
    int inkLeft = -1, inkRight = -1;
    for (int i = at - 1; i >= 0 && inkLeft < 0; --i) {
        if (columns[i] > 0)
            inkLeft = at - i;
    }
    for (int i = at; i < int(columns.size()) && inkRight < 0; ++i) {
        if (columns[i] > 0)
            inkRight = i - at + 1;
    }
    if (inkLeft < 0 || inkRight < 0)
        return false;
    const double glyph = m_typicalGlyphHeight;
    if (inkLeft > wordReach * glyph || inkRight > wordReach * glyph)
        return true;
    const int farEnough = int(std::ceil(windowEdgeReach * glyph));
    const int margin = int(std::lround(groundEdgeMargin * glyph));
    int above = 0, below = 0;
    for (int y = box.top() - margin - 1; y >= 0 && above < farEnough && groundChangesNear(x, y); --y)
        ++above;
    for (int y = box.bottom() + margin + 1; y < m_height && below < farEnough && groundChangesNear(x, y); ++y)
        ++below;
    return std::max(above, below) >= farEnough;
}

// Whether x lies in a gap that lines up with those of the rows above and below.
bool TextLayout::alleyAt(const QRect &box, int x) const
{
    return std::any_of(m_alleys.cbegin(), m_alleys.cend(), [&](const QRect &alley) {
        return alley.top() <= box.top() && alley.bottom() >= box.bottom() && alley.left() <= x && alley.right() >= x;
    });
}

// The first place right of the box where its column ends: a rule or a ground edge,
// else the far side of a gap between the columns of a table (where the next column
// starts in every row), else the ink of the text beside it.
int TextLayout::columnEnd(const QRect &box) const
{
    for (int x = box.right() + 1; x < m_width; ++x) {
        if (ruleAt(box, x) || groundEdgeAt(box, x))
            return x;
        const auto alley = std::find_if(m_alleys.cbegin(), m_alleys.cend(), [&](const QRect &a) {
            return a.top() <= box.top() && a.bottom() >= box.bottom() && a.left() <= x && a.right() >= x;
        });
        if (alley != m_alleys.cend()) {
            for (int inside = x + 1; inside <= alley->right(); ++inside) {
                if (ruleAt(box, inside) || groundEdgeAt(box, inside))
                    return inside;
            }
            return alley->right() + 1;
        }
        for (int y = box.top(); y <= box.bottom(); ++y) {
            if (m_ink[index(x, y)])
                return x;
        }
    }
    return m_width;
}

// Gaps wider than a word space that line up down several of the bands of a box are
// the space between two columns of a table without rules: each band is cut there,
// however narrow the gap. A band whose ink does not reach a gap's place neither
// continues nor ends it.
void TextLayout::findAlleys(const QRect &box, const QList<Run> &bands)
{
    struct Open
    {
        Gap common;
        int top = 0;
        int bottom = 0;
        int rows = 0;
    };
    const int narrowest = std::max(3, int(std::lround(alleyGapFactor * m_typicalGlyphHeight)));
    const int overlapping = std::max(3, int(std::lround(alleyOverlapShare * narrowest)));
    QList<Open> open;
    const auto close = [this](const Open &alley) {
        if (alley.rows >= alleyRows)
            m_alleys.append(QRect(QPoint(alley.common.start, alley.top), QPoint(alley.common.end, alley.bottom)));
    };
    for (const Run &band : bands) {
        const int top = box.top() + band.start;
        const int bottom = top + band.length - 1;
        std::vector<int> columns(box.width(), 0);
        for (int y = top; y <= bottom; ++y) {
            for (int x = box.left(); x <= box.right(); ++x)
                columns[x - box.left()] += m_ink[index(x, y)];
        }
        const auto first = std::find_if(columns.begin(), columns.end(), [](int c) { return c > 0; });
        const auto last = std::find_if(columns.rbegin(), columns.rend(), [](int c) { return c > 0; });
        if (first == columns.end())
            continue;
        const int inkLeft = box.left() + int(first - columns.begin());
        const int inkRight = box.right() - int(last - columns.rbegin());
        const QList<Gap> gaps = columnGaps(columns, box.left(), narrowest, band.length);
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
            Gap common;
            for (qsizetype g = 0; g < gaps.size(); ++g) {
                const Gap overlap{std::max(alley.common.start, gaps[g].start), std::min(alley.common.end, gaps[g].end)};
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
            next.append({common, alley.top, bottom, alley.rows + 1});
        }
        for (qsizetype g = 0; g < gaps.size(); ++g) {
            if (!carriedWhole[g])
                next.append({gaps[g], top, bottom, 1});
        }
        open = std::move(next);
    }
    for (const Open &alley : std::as_const(open))
        close(alley);
}

} // namespace velmora
