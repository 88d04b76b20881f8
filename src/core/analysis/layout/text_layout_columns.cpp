#include "core/analysis/layout/text_layout.h"

#include "core/analysis/layout/column_gaps.h"

#include <algorithm>
#include <cmath>
#include <optional>

// Where a line or a block of the page is cut into columns.

namespace velmora {

namespace {

// Columns are cut at gaps of at least this many line heights: wider than any word
// space, and wider than the runs of spaces that align code.
constexpr double columnGap = 2.5;
// A vertical rule or border parts columns where it runs through this share of the rows.
constexpr double ruleShare = 0.8;
// The ground changes at the edge of a window, a pane or a cell through this share of
// the rows of a line and of a margin of this many characters above and below it.
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

} // namespace

QList<int> TextLayout::columnCuts(const QRect &box, const std::vector<int> &columns, double lineHeight) const
{
    const int wideGap = std::max(6, int(std::lround(columnGap * lineHeight)));
    QList<int> cuts;
    QList<ColumnGap> cutGaps;
    for (const ColumnGap &gap : interiorGaps(columns, box.left())) {
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
                                          [x](const ColumnGap &gap) { return x >= gap.start && x <= gap.end + 1; });
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
    const int margin = int(std::lround(m_typography.characters(groundEdgeMargin)));
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
    if (inkLeft > m_typography.characters(wordReach) || inkRight > m_typography.characters(wordReach))
        return true;
    const int farEnough = int(std::ceil(m_typography.characters(windowEdgeReach)));
    const int margin = int(std::lround(m_typography.characters(groundEdgeMargin)));
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

// What ends a column at x, if a rule or a ground edge does.
std::optional<CutEdge> TextLayout::edgeAt(const QRect &box, int x) const
{
    if (ruleAt(box, x))
        return CutEdge::rule;
    if (groundEdgeAt(box, x))
        return CutEdge::groundEdge;
    return std::nullopt;
}

// The first place right of the box where its column ends: a rule or a ground edge,
// else the far side of a gap between the columns of a table (where the next column
// starts in every row), else the ink of the text beside it.
ColumnEnd TextLayout::columnEnd(const QRect &box) const
{
    for (int x = box.right() + 1; x < m_width; ++x) {
        if (const auto edge = edgeAt(box, x))
            return {x, *edge};
        const auto alley = std::find_if(m_alleys.cbegin(), m_alleys.cend(), [&](const QRect &a) {
            return a.top() <= box.top() && a.bottom() >= box.bottom() && a.left() <= x && a.right() >= x;
        });
        if (alley != m_alleys.cend()) {
            for (int inside = x + 1; inside <= alley->right(); ++inside) {
                if (const auto edge = edgeAt(box, inside))
                    return {inside, *edge};
            }
            return {alley->right() + 1, CutEdge::columnGap};
        }
        for (int y = box.top(); y <= box.bottom(); ++y) {
            if (m_ink[index(x, y)])
                return {x, CutEdge::textBeside};
        }
    }
    return {m_width, CutEdge::imageEdge};
}

} // namespace velmora
