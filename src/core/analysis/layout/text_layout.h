#pragma once

#include "core/analysis/ink/ink_map.h"
#include "core/analysis/ink/typography.h"
#include "core/analysis/layout/cut_off.h"

#include <QList>
#include <QRect>

#include <cstdint>
#include <optional>
#include <vector>

namespace velmora {

struct ConnectedRuns;
struct PieceExtent;

/// A part of the page that holds text, in the pixels of the page.
struct TextRegion
{
    QRect box;
    bool singleLine = true; ///< One line of text, else a block of lines that touch.
    int bleed = 0;          ///< Rows past the box that its glyphs may reach, where it was cut from a touching line.
    /// Where the column the region stands in ends on the right. Regions of one column of
    /// a table share it.
    ColumnEnd columnEnd;

    friend bool operator==(const TextRegion &, const TextRegion &) = default;
};

// Finds the text regions of a screen image from its ink map, in stages, in this order:
// 1. typography (text_layout.cpp): the typical height of the page's characters, from
//    its pieces of ink; every length of the layout counts in it;
// 2. rules and frames (text_layout_rules.cpp): set aside, since a border beside a token
//    reads as "|" or "l"; the glyphs drawn against their lines (a descender on a
//    gridline, a glyph cut off at the next column) are given back to the text;
// 3. faint rules (text_layout_rules.cpp): rules too faint to count as ink (a
//    spreadsheet's light grid), which still part cells and rows;
// 4. cut (text_layout.cpp): the page is cut recursively, first through rows without
//    ink into bands (a thin band joins its line's; a band that holds several rows of
//    text looks for alleys, below, that steer the cuts of its rows), then each band
//    through columns into regions that hold one line each, so that no line or token is
//    ever cut in two; lines that touch are parted at the row with the least ink, and
//    their glyphs may reach across;
// 5. columns (text_layout_columns.cpp): a line is cut where the screen says a column
//    ends: at gaps wider than any word space of the text beside them, at vertical rules
//    and borders, where the ground changes colour (a window's, pane's or cell's edge),
//    and along alleys;
// 6. alleys (text_layout_alleys.cpp): gaps that line up down many rows (a table without
//    rules), even gaps narrower than a word space where the text on their two sides is
//    laid out apart (a column's text lines up where its neighbour's is ragged, or the
//    alignment changes); a value that spills over an empty cell stays whole, as no gap
//    lines up through it;
// 7. column ends (text_layout_columns.cpp): where the column each region stands in ends.
// A rule about what on a page is no text belongs to stage 2 or 3; one about where
// columns or cells end, to stage 5 or 6.
class TextLayout
{
public:
    /// A run of rows or columns.
    struct Run
    {
        int start = 0;
        int length = 0;
    };

    explicit TextLayout(const InkMap &ink);

    /// The regions in reading order: top to bottom, columns left to right.
    const QList<TextRegion> &regions() const { return m_regions; }
    /// The indexes of the regions, those that hold the most text first (how many line
    /// heights long their lines are, all together): read in this order, no long line
    /// is left to one engine while the others have ended.
    QList<qsizetype> regionsLongestFirst() const;
    /// How the page's text is set: the typical height of its characters, measured on its
    /// pieces of ink.
    const PageTypography &typography() const { return m_typography; }
    /// How tall a region's line is: a single line's box, a block's typical line.
    int lineHeight(const TextRegion &region) const { return region.singleLine ? region.box.height() : m_typography.lineHeight(); }
    /// True for ink that belongs to a rule or a frame, not to text.
    bool isSetAside(int x, int y) const { return m_setAside[index(x, y)]; }

private:
    std::size_t index(int x, int y) const { return std::size_t(y) * m_width + x; }
    // Rules (text_layout_rules.cpp).
    void setAsideRulesAndFrames(const InkMap &ink, const ConnectedRuns &pieces, const std::vector<PieceExtent> &extents);
    std::vector<std::uint8_t> straightLines() const;
    static bool onThinLine(std::uint8_t marks);
    void returnGlyphsTouchingRules(const InkMap &ink, const std::vector<std::uint8_t> &lines);
    void setAsideFaintRules(const InkMap &ink);
    void cut(const QRect &area, int bleed);
    bool partTouchingLines(const QRect &box, const std::vector<int> &rows, int bleed);
    QList<Run> joinThinBands(const QRect &box, QList<Run> bands) const;
    bool holdsOnlyStrokes(const QRect &rows) const;
    QRect inkBounds(const QRect &area) const;
    // Columns (text_layout_columns.cpp).
    /// The first columns of the parts a box is cut into, left to right.
    QList<int> columnCuts(const QRect &box, const std::vector<int> &columns, double lineHeight) const;
    bool ruleAt(const QRect &box, int x) const;
    bool groundChangesNear(int x, int y) const;
    bool groundEdgeAt(const QRect &box, int x) const;
    bool groundEdgeParts(const QRect &box, int x, const std::vector<int> &columns) const;
    bool alleyAt(const QRect &box, int x) const;
    std::optional<CutEdge> edgeAt(const QRect &box, int x) const;
    ColumnEnd columnEnd(const QRect &box) const;
    // Alleys (text_layout_alleys.cpp).
    void findAlleys(const QRect &box, const QList<Run> &bands);

    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_ink;
    std::vector<std::uint8_t> m_setAside;
    std::vector<std::uint8_t> m_groundEdges;
    PageTypography m_typography;
    /// Gaps that line up down several rows: the x range common to them all, over the rows.
    /// Found while cut() recurses, in each band of rows before its rows are cut into
    /// columns, so that the alleys of a band steer the cuts of every row inside it (and
    /// of the bands cut from it later); read by columnCuts() and columnEnd().
    QList<QRect> m_alleys;
    QList<TextRegion> m_regions;
};

} // namespace velmora
