#include "core/analysis/text_layout.h"

#include "core/analysis/connected_runs.h"
#include "core/analysis/upper_median.h"

#include <algorithm>
#include <climits>
#include <cmath>

// What the layout sets aside as no text: rules, frames and field borders.

namespace velmora {

namespace {

// A rule is at most this many pixels thick, and at least this many characters long:
// across the rows of a line of text and a little more, or along a few characters.
constexpr int ruleThickness = 3;
constexpr double verticalRuleLength = 2.5;
constexpr double horizontalRuleLength = 4;
// A run of faint ink is a rule where it is mostly fainter than ink and, at this share
// of its length, stands alone: the pixels two away on either side hold no faint ink.
constexpr double faintRuleShare = 0.8;
constexpr double standingAloneShare = 0.5;
// A frame's lines run on for at least this many characters; ink that touches it and
// stands at least this share of a character tall is a glyph.
constexpr double frameLineLength = 2;
constexpr double touchingGlyphShare = 0.5;

} // namespace

void TextLayout::setAsideRulesAndFrames()
{
    const ConnectedRuns pieces(m_ink, m_width, m_height, PixelConnectivity::sidesAndCorners);
    struct Piece { int minX = INT_MAX, minY = INT_MAX, maxX = -1, maxY = -1; int pixels = 0; bool rule = false, frame = false; };
    std::vector<Piece> stats(std::size_t(pieces.pieceCount));
    for (const PixelRun &run : pieces.runs) {
        Piece &p = stats[std::size_t(run.piece)];
        p.minX = std::min(p.minX, run.left);
        p.maxX = std::max(p.maxX, run.right);
        p.minY = std::min(p.minY, run.y);
        p.maxY = std::max(p.maxY, run.y);
        p.pixels += run.right - run.left + 1;
    }
    std::vector<int> heights;
    for (const Piece &p : stats) {
        if (p.maxY - p.minY + 1 >= 3)
            heights.push_back(p.maxY - p.minY + 1);
    }
    if (heights.empty()) {
        m_typicalGlyphHeight = minimumTextHeight;
        return;
    }
    m_typicalGlyphHeight = std::max(minimumTextHeight, upperMedian(std::move(heights)));

    const double glyph = m_typicalGlyphHeight;
    bool anyFrame = false;
    for (Piece &p : stats) {
        const int w = p.maxX - p.minX + 1;
        const int h = p.maxY - p.minY + 1;
        p.rule = (h <= ruleThickness && w >= horizontalRuleLength * glyph) || (w <= ruleThickness && h >= verticalRuleLength * glyph);
        p.frame = w >= 2 * glyph && h >= 2 * glyph && (w >= 3 * glyph || h >= 3 * glyph) && p.pixels < 0.12 * double(w) * h;
        anyFrame = anyFrame || p.frame;
    }
    // A frame's own pixels lie on its long straight lines; a glyph that touches it (a
    // cell's text cut off at a gridline) keeps its ink.
    const std::vector<std::uint8_t> onLine = anyFrame ? onLongLines(int(std::lround(frameLineLength * glyph))) : std::vector<std::uint8_t>();
    std::vector<std::uint8_t> touching;
    for (const PixelRun &run : pieces.runs) {
        const Piece &p = stats[std::size_t(run.piece)];
        if (!p.rule && !p.frame)
            continue;
        for (std::size_t i = index(run.left, run.y); i <= index(run.right, run.y); ++i) {
            if (p.frame && !onLine[i]) {
                touching.resize(m_ink.size(), 0);
                touching[i] = 1;
            } else {
                m_ink[i] = 0;
                m_setAside[i] = 1;
            }
        }
    }
    if (!touching.empty())
        setAsideSpecksOfFrames(touching);
}

// What touches a frame is a glyph where it stands as tall as one; the rounded corners
// of a border and specks go with the frame.
void TextLayout::setAsideSpecksOfFrames(const std::vector<std::uint8_t> &touching)
{
    const ConnectedRuns parts(touching, m_width, m_height, PixelConnectivity::sidesAndCorners);
    std::vector<std::pair<int, int>> rows(std::size_t(parts.pieceCount), {INT_MAX, -1}); // first and last row of each part
    for (const PixelRun &run : parts.runs) {
        auto &[top, bottom] = rows[std::size_t(run.piece)];
        top = std::min(top, run.y);
        bottom = std::max(bottom, run.y);
    }
    for (const PixelRun &run : parts.runs) {
        const auto [top, bottom] = rows[std::size_t(run.piece)];
        if (bottom - top + 1 >= touchingGlyphShare * m_typicalGlyphHeight)
            continue;
        const auto first = std::ptrdiff_t(index(run.left, run.y));
        const auto end = std::ptrdiff_t(index(run.right, run.y)) + 1;
        std::fill(m_ink.begin() + first, m_ink.begin() + end, 0);
        std::fill(m_setAside.begin() + first, m_setAside.begin() + end, 1);
    }
}

// Which ink pixels lie on a straight run of ink, across or down, at least `length` long.
std::vector<std::uint8_t> TextLayout::onLongLines(int length) const
{
    std::vector<std::uint8_t> result(m_ink.size(), 0);
    const auto mark = [&](QPoint start, QPoint step, int count) {
        for (int k = 0; k < count; ++k)
            result[index(start.x() + k * step.x(), start.y() + k * step.y())] = 1;
    };
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width;) {
            const int start = x;
            while (x < m_width && m_ink[index(x, y)])
                ++x;
            if (x - start >= length)
                mark(QPoint(start, y), QPoint(1, 0), x - start);
            x = std::max(x, start + 1);
        }
    }
    for (int x = 0; x < m_width; ++x) {
        for (int y = 0; y < m_height;) {
            const int start = y;
            while (y < m_height && m_ink[index(x, y)])
                ++y;
            if (y - start >= length)
                mark(QPoint(x, start), QPoint(0, 1), y - start);
            y = std::max(y, start + 1);
        }
    }
    return result;
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
    const int tallest = int(std::ceil(verticalRuleLength * m_typicalGlyphHeight));
    const int longest = int(std::ceil(horizontalRuleLength * m_typicalGlyphHeight));
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
