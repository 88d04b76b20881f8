#include "core/analysis/layout/text_layout.h"

#include "core/analysis/ink/connected_runs.h"

#include <algorithm>
#include <climits>
#include <cmath>

// The lines of rules and frames, the glyphs that touch them, and rules too faint to
// count as ink.

namespace velmora {

namespace {

// A straight run of ink at least this many characters long and at most this many
// pixels thick is a line of a rule or a frame: longer than any stroke of a glyph, and
// thinner than the stems of a heading that are as long. A piece as thin that joins two
// parallel lines is a short stretch of a rule between them (a cell's side in a table of
// one row), not a glyph.
constexpr double lineLength = 2.0;
constexpr int lineThickness = 3;
// A rule runs across at least this many characters, or down the rows of a line of text
// and a little more; a piece of ink that thin and that long is one.
constexpr double horizontalRuleLength = 4;
constexpr double verticalRuleLength = 2.5;
// A frame is an outline at least this many characters wide and tall, and this many
// along its longer side; at most this share of its box is ink off its lines, which
// glyphs drawn against it may touch.
constexpr double frameSide = 2;
constexpr double frameLongSide = 3;
constexpr double frameOffLineShare = 0.12;
// A glyph that touches a rule is at least this many characters tall. A lower piece is
// text (an underscore, the sliver of a glyph cut off at the rule) when its ink is as
// strong as the line's, else the line's antialiased fringe.
constexpr double touchingGlyphHeight = 0.3;
// A line that runs on past a glyph by this many pixels on both sides, or into a line
// that crosses it, carries it; a rounded corner, or the short side of a frame, meets
// its lines where they end.
constexpr int lineReach = 2;

// A rule too faint to count as ink is as long as a rule of ink. A run of faint ink is
// such a rule where it is mostly fainter than ink and, at this share of its length,
// stands alone: the pixels two away on either side hold no faint ink.
constexpr double faintRuleShare = 0.8;
constexpr double standingAloneShare = 0.5;

// Marks of straightLines().
constexpr std::uint8_t longAcross = 1;
constexpr std::uint8_t longDown = 2;
constexpr std::uint8_t thinAcross = 4;
constexpr std::uint8_t thinDown = 8;

} // namespace

// Rules and frames are set aside, since a border beside a token reads as "|" or "l":
// pieces of ink as thin as a line and as long as a rule, and outlines (frames) with
// little ink off their lines. The glyphs drawn against them are then given back.
void TextLayout::setAsideRulesAndFrames(const InkMap &ink, const ConnectedRuns &pieces, const std::vector<PieceExtent> &extents)
{
    const std::vector<std::uint8_t> lines = straightLines();
    std::vector<int> linePixels(extents.size(), 0);
    for (const PixelRun &run : pieces.runs) {
        for (int x = run.left; x <= run.right; ++x)
            linePixels[std::size_t(run.piece)] += onThinLine(lines[index(x, run.y)]);
    }
    for (const PixelRun &run : pieces.runs) {
        const PieceExtent &p = extents[std::size_t(run.piece)];
        const int w = p.width();
        const int h = p.height();
        const bool rule = (h <= lineThickness && w >= m_typography.characters(horizontalRuleLength))
            || (w <= lineThickness && h >= m_typography.characters(verticalRuleLength));
        const bool frame = w >= m_typography.characters(frameSide) && h >= m_typography.characters(frameSide)
            && (w >= m_typography.characters(frameLongSide) || h >= m_typography.characters(frameLongSide))
            && p.pixels - linePixels[std::size_t(run.piece)] < frameOffLineShare * double(w) * h;
        if (rule || frame) {
            const auto first = std::ptrdiff_t(index(run.left, run.y));
            const auto end = std::ptrdiff_t(index(run.right, run.y)) + 1;
            std::fill(m_ink.begin() + first, m_ink.begin() + end, 0);
            std::fill(m_setAside.begin() + first, m_setAside.begin() + end, 1);
        }
    }
    returnGlyphsTouchingRules(ink, lines);
}

// Marks each pixel of ink by the straight runs through it, across and down: long enough
// for a line, or thin enough for one.
std::vector<std::uint8_t> TextLayout::straightLines() const
{
    const int longest = std::max(8, int(std::lround(m_typography.characters(lineLength))));
    std::vector<std::uint8_t> marks(m_ink.size(), 0);
    const auto markOf = [longest](int length, std::uint8_t isLong, std::uint8_t isThin) -> std::uint8_t {
        return length >= longest ? isLong : length <= lineThickness ? isThin : 0;
    };
    // Runs down are followed a row at a time, each column's run so far counted, so that
    // the page is read in the order it is stored.
    std::vector<int> down(std::size_t(m_width), 0);
    const auto endRunDown = [&](int x, int y) { // the run of column x that ended above row y
        if (const std::uint8_t mark = markOf(down[x], longDown, thinDown)) {
            for (int k = y - down[x]; k < y; ++k)
                marks[index(x, k)] |= mark;
        }
        down[x] = 0;
    };
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width;) {
            if (!m_ink[index(x, y)]) {
                endRunDown(x, y);
                ++x;
                continue;
            }
            int end = x;
            for (; end < m_width && m_ink[index(end, y)]; ++end)
                ++down[end];
            if (const std::uint8_t mark = markOf(end - x, longAcross, thinAcross)) {
                for (int k = x; k < end; ++k)
                    marks[index(k, y)] |= mark;
            }
            x = end;
        }
    }
    for (int x = 0; x < m_width; ++x)
        endRunDown(x, m_height);
    return marks;
}

// A pixel lies on a thin line across when its run across is long and its run down is
// thin, and the same way down: the lines of a rule or a frame, not a filled area. Where
// two lines cross, or a glyph drawn against a line thickens it, it is neither.
bool TextLayout::onThinLine(std::uint8_t marks)
{
    return ((marks & longAcross) && (marks & thinDown)) || ((marks & longDown) && (marks & thinAcross));
}

namespace {

/// The lines of what was set aside as rules and frames: its long straight runs, however
/// thick a glyph drawn against them makes them.
struct RuleLines
{
    const std::vector<std::uint8_t> &marks; ///< of straightLines()
    const std::vector<std::uint8_t> &setAside;
    int width = 0;
    int height = 0;

    bool at(int x, int y, std::uint8_t direction) const
    {
        const std::size_t i = std::size_t(y) * width + x;
        return x >= 0 && y >= 0 && x < width && y < height && setAside[i] != 0 && (marks[i] & direction);
    }
    bool across(int x, int y) const { return at(x, y, longAcross); }
    bool down(int x, int y) const { return at(x, y, longDown); }
    /// Whether the line through (x, y) runs on from there in steps of (dx, dy).
    bool runsOn(int x, int y, int dx, int dy) const
    {
        const std::uint8_t along = dx != 0 ? longAcross : longDown;
        const std::uint8_t crossing = dx != 0 ? longDown : longAcross;
        for (int k = 1; k <= lineReach; ++k) {
            if (at(x + k * dx, y + k * dy, crossing))
                return true;
            if (!at(x + k * dx, y + k * dy, along))
                return false;
        }
        return true;
    }
};

/// Whether a piece set aside with a rule, off its lines, is a glyph drawn against it:
/// it touches a line that runs on past it on both sides (or into a line that crosses
/// it), is no stretch of a rule between two lines, and is as tall as a glyph or as
/// strong as the line. `pixels` are its runs.
bool hangsOnRule(const InkMap &ink, const RuleLines &lines, const QRect &bounds, const std::vector<const PixelRun *> &pixels, int glyphHeight)
{
    int strongest = 0;
    int strongestLine = 0;
    bool touches = false;
    bool carried = true;
    bool lineAbove = false, lineBelow = false, lineLeft = false, lineRight = false;
    for (const PixelRun *run : pixels) {
        for (int x = run->left; x <= run->right; ++x) {
            strongest = std::max(strongest, ink.contrastAt(x, run->y));
            for (int ny = run->y - 1; ny <= run->y + 1; ++ny) {
                for (int nx = x - 1; nx <= x + 1; ++nx) {
                    if (lines.across(nx, ny)) {
                        touches = true;
                        carried = carried && lines.runsOn(bounds.left(), ny, -1, 0) && lines.runsOn(bounds.right(), ny, 1, 0);
                        lineAbove = lineAbove || ny < bounds.top();
                        lineBelow = lineBelow || ny > bounds.bottom();
                    }
                    if (lines.down(nx, ny)) {
                        touches = true;
                        carried = carried && lines.runsOn(nx, bounds.top(), 0, -1) && lines.runsOn(nx, bounds.bottom(), 0, 1);
                        lineLeft = lineLeft || nx < bounds.left();
                        lineRight = lineRight || nx > bounds.right();
                    }
                    if (lines.across(nx, ny) || lines.down(nx, ny))
                        strongestLine = std::max(strongestLine, ink.contrastAt(nx, ny));
                }
            }
        }
    }
    const bool bar = (bounds.width() <= lineThickness && lineAbove && lineBelow) || (bounds.height() <= lineThickness && lineLeft && lineRight);
    const bool text = bounds.height() >= glyphHeight || strongest >= strongestLine;
    return touches && carried && !bar && text;
}

} // namespace

// A glyph drawn against a rule (a descender on a cell's gridline, the first letter of a
// cell against its left rule, a glyph cut off at the next column) is one piece of ink
// with the rule, and was set aside with it: the line's characters would go unread and
// the boxes of the value leave its ink out. What hangs on a line of the rule somewhere
// along it, with the line running on past it on both sides, and is as tall as a glyph
// or as strong as the line, is given back to the text. The corners of a frame, its
// sides too short for a line, stretches of a rule between two lines, and the line's
// antialiased fringe, stay set aside.
void TextLayout::returnGlyphsTouchingRules(const InkMap &ink, const std::vector<std::uint8_t> &lines)
{
    const int glyphHeight = std::max(3, int(std::lround(m_typography.characters(touchingGlyphHeight))));
    // The pieces of what was set aside off the lines, and where they meet them.
    std::vector<std::uint8_t> loose(m_setAside.size(), 0);
    for (std::size_t i = 0; i < loose.size(); ++i)
        loose[i] = m_setAside[i] != 0 && !(lines[i] & (longAcross | longDown));
    const ConnectedRuns pieces(loose, m_width, m_height, PixelConnectivity::sidesAndCorners);
    const std::vector<PieceExtent> extents = pieces.extents();
    std::vector<std::vector<const PixelRun *>> runsOf(extents.size());
    for (const PixelRun &run : pieces.runs)
        runsOf[std::size_t(run.piece)].push_back(&run);
    const RuleLines ruleLines{lines, m_setAside, m_width, m_height};
    std::vector<const std::vector<const PixelRun *> *> returned;
    for (std::size_t p = 0; p < extents.size(); ++p) {
        const PieceExtent &e = extents[p];
        if (hangsOnRule(ink, ruleLines, QRect(QPoint(e.minX, e.minY), QPoint(e.maxX, e.maxY)), runsOf[p], glyphHeight))
            returned.push_back(&runsOf[p]);
    }
    for (const auto *runs : returned) {
        for (const PixelRun *run : *runs) {
            std::fill(m_setAside.begin() + std::ptrdiff_t(index(run->left, run->y)), m_setAside.begin() + std::ptrdiff_t(index(run->right, run->y)) + 1, 0);
            std::fill(m_ink.begin() + std::ptrdiff_t(index(run->left, run->y)), m_ink.begin() + std::ptrdiff_t(index(run->right, run->y)) + 1, 1);
        }
    }
}

// Rules too faint to count as ink (the light grid of a spreadsheet, hairlines between
// the rows of a table) still part cells: straight runs of faint ink, a pixel or two
// thick, as long as rules of ink are. Their faint pixels are set aside; a glyph's ink
// that touches them stays.
void TextLayout::setAsideFaintRules(const InkMap &ink)
{
    const auto faint = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < m_width && y < m_height && ink.contrastAt(x, y) >= InkMap::faintInkThreshold;
    };
    const auto setAside = [&](int x, int y) {
        if (faint(x, y) && ink.contrastAt(x, y) < InkMap::inkThreshold)
            m_setAside[index(x, y)] = 1;
    };
    // A run along `length` steps from `start` by `step`, with `across` the step to the side.
    const auto inspect = [&](QPoint start, QPoint step, QPoint across, int length) {
        int light = 0, alone = 0;
        for (int k = 0; k < length; ++k) {
            const QPoint p = start + k * step;
            light += ink.contrastAt(p.x(), p.y()) < InkMap::inkThreshold;
            const QPoint before = p - 2 * across, after = p + 2 * across;
            alone += !faint(before.x(), before.y()) && !faint(after.x(), after.y());
        }
        if (light < faintRuleShare * length || alone < standingAloneShare * length)
            return;
        for (int k = 0; k < length; ++k) {
            for (int side = -1; side <= 1; ++side) {
                const QPoint p = start + k * step + side * across;
                setAside(p.x(), p.y());
            }
        }
    };
    const int tallest = int(std::ceil(m_typography.characters(verticalRuleLength)));
    const int longest = int(std::ceil(m_typography.characters(horizontalRuleLength)));
    for (int x = 0; x < m_width; ++x) {
        for (int y = 0; y < m_height;) {
            const int start = y;
            while (y < m_height && faint(x, y))
                ++y;
            if (y - start >= tallest)
                inspect(QPoint(x, start), QPoint(0, 1), QPoint(1, 0), y - start);
            y = std::max(y, start + 1);
        }
    }
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width;) {
            const int start = x;
            while (x < m_width && faint(x, y))
                ++x;
            if (x - start >= longest)
                inspect(QPoint(start, y), QPoint(1, 0), QPoint(0, 1), x - start);
            x = std::max(x, start + 1);
        }
    }
}

} // namespace velmora
