#pragma once

#include "core/analysis/ink/ink_map.h"

#include <QList>
#include <QRect>

#include <cstdint>
#include <vector>

namespace velmora {

/// A part of the page that holds text, in the pixels of the page.
struct TextRegion
{
    QRect box;
    bool singleLine = true; ///< One line of text, else a block of lines that touch.
    int bleed = 0;          ///< Rows past the box that its glyphs may reach, where it was cut from a touching line.
    /// Where the column the region stands in ends on the right: the first rule, edge of
    /// the ground, gap between table columns or ink beside it, else the page's edge.
    /// Regions of one column of a table share it.
    int columnEnd = 0;

    friend bool operator==(const TextRegion &, const TextRegion &) = default;
};

// Finds the text regions of a screen image from its ink map. Rules, frames and field
// borders are set aside first, since a border beside a token reads as "|" or "l", and
// so are rules too faint to count as ink (a spreadsheet's light grid), which still part
// cells and rows; the glyphs drawn against their lines (a descender on a gridline, a
// glyph cut off at the next column) are kept as text.
// The page is then cut recursively through rows and columns without ink into regions
// that hold one line each, so that no line or token is ever cut in two. Columns are
// cut where the screen says they end: at gaps wider than any word space of the text
// beside them, at vertical rules and borders, where the ground changes colour (a
// window's, pane's or cell's edge) and along gaps that line up down many rows (a table
// without rules), even gaps narrower than a word space where the text on their two
// sides is laid out apart (a column's text lines up where its neighbour's is ragged,
// or the alignment changes). A value that spills over an empty cell stays whole, as
// no gap lines up through it. Lines that touch are parted at the row with the least
// ink, and their glyphs may reach across.
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
    /// The typical height of a character of the page's text.
    int typicalGlyphHeight() const { return m_typicalGlyphHeight; }
    /// True for ink that belongs to a rule or a frame, not to text.
    bool isSetAside(int x, int y) const { return m_setAside[index(x, y)]; }

private:
    std::size_t index(int x, int y) const { return std::size_t(y) * m_width + x; }
    void setAsideRulesAndFrames(const InkMap &ink);
    // Rules (text_layout_rules.cpp).
    std::vector<std::uint8_t> straightLines() const;
    static bool onThinLine(std::uint8_t marks);
    void returnGlyphsTouchingRules(const InkMap &ink, const std::vector<std::uint8_t> &lines);
    void setAsideFaintRules(const InkMap &ink);
    void cut(const QRect &area, int bleed);
    QList<Run> joinThinBands(QList<Run> bands) const;
    QRect inkBounds(const QRect &area) const;
    // Columns (text_layout_columns.cpp).
    /// The first columns of the parts a box is cut into, left to right.
    QList<int> columnCuts(const QRect &box, const std::vector<int> &columns, double lineHeight) const;
    bool ruleAt(const QRect &box, int x) const;
    bool groundChangesNear(int x, int y) const;
    bool groundEdgeAt(const QRect &box, int x) const;
    bool groundEdgeParts(const QRect &box, int x, const std::vector<int> &columns) const;
    bool alleyAt(const QRect &box, int x) const;
    int columnEnd(const QRect &box) const;
    // Alleys (text_layout_alleys.cpp).
    void findAlleys(const QRect &box, const QList<Run> &bands);

    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_ink;
    std::vector<std::uint8_t> m_setAside;
    std::vector<std::uint8_t> m_groundEdges;
    int m_typicalGlyphHeight = 0;
    /// Gaps that line up down several rows: the x range common to them all, over the rows.
    QList<QRect> m_alleys;
    QList<TextRegion> m_regions;
};

} // namespace velmora
