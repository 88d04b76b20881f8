#include "core/analysis/layout/text_layout.h"

#include "core/analysis/ink/connected_runs.h"
#include "core/support/upper_median.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numeric>
#include <optional>

namespace velmora {

namespace {

// A region cannot hold legible text when it is lower than this (pixels), nor is a
// character of a page with text.
constexpr int minimumTextHeight = 6;
// A region taller than this many characters holds lines that touch (a line of text with
// ascenders and descenders is about twice as tall as a typical character).
constexpr double singleLineHeight = 2.6;
// Text covers well under three quarters of its line's box (short words of heavy
// glyphs at small sizes, with their antialiased edges, come near 0.6); a denser region
// is a picture or a bar.
constexpr double maximumTextDensity = 0.7;
// A band of rows thinner than this many characters, within this many characters of
// another band, is part of that band's line.
constexpr double thinBand = 0.4;
constexpr double nearBand = 0.5;
// A thin band whose every piece is a flat stroke at least this many characters wide
// holds underscores or an underline (a dot or an accent is narrower).
constexpr double underscoreWidth = 0.6;
// Lines that touch make a band at least this many characters tall; between them, in
// the middle share of the band's rows, lies a row with at most this share of the fullest
// row's ink. The glyphs cut there reach this many characters into the other line.
constexpr double touchingLinesHeight = 1.8;
constexpr double middleShare = 0.4;
constexpr double touchingRowShare = 0.25;
constexpr double cutGlyphReach = 0.5;

using Run = TextLayout::Run;

// Runs of non-zero counts separated by at least minimumGap zeros.
QList<Run> runs(const std::vector<int> &counts, int minimumGap)
{
    QList<Run> result;
    int gap = minimumGap;
    for (int i = 0; i < int(counts.size()); ++i) {
        if (counts[i] == 0) {
            ++gap;
            continue;
        }
        if (gap >= minimumGap || result.isEmpty())
            result.append({i, 1});
        else
            result.last().length = i - result.last().start + 1;
        gap = 0;
    }
    return result;
}

// The typography of a page: the typical height of its pieces of ink at least three rows
// tall (lower ones are dots, rules and specks); nothing on a page without them.
std::optional<PageTypography> typographyOf(const std::vector<PieceExtent> &pieces)
{
    std::vector<int> heights;
    for (const PieceExtent &p : pieces) {
        if (p.height() >= 3)
            heights.push_back(p.height());
    }
    if (heights.empty())
        return std::nullopt;
    return PageTypography(std::max(minimumTextHeight, upperMedian(std::move(heights))));
}

} // namespace

// A band of rows much thinner than a character, close to another band, belongs to
// that band's line: an underscore or an underline below the letters, the dots and
// accents above them. It joins the nearer band, but a band of strokes the line above
// is near: an underscore hangs below its baseline, in a terminal's tight lines nearer
// the glyphs of the next line than its own.
QList<TextLayout::Run> TextLayout::joinThinBands(const QRect &box, QList<Run> bands) const
{
    const int thin = std::max(2, int(std::lround(m_typography.characters(thinBand))));
    const int near = std::max(2, int(std::lround(m_typography.characters(nearBand))));
    for (qsizetype i = 0; i < bands.size();) {
        if (bands.size() < 2 || bands[i].length >= thin) {
            ++i;
            continue;
        }
        const int above = i > 0 ? bands[i].start - (bands[i - 1].start + bands[i - 1].length) : INT_MAX;
        const int below = i + 1 < bands.size() ? bands[i + 1].start - (bands[i].start + bands[i].length) : INT_MAX;
        if (std::min(above, below) > near) {
            ++i;
            continue;
        }
        const bool underscores = above <= near && holdsOnlyStrokes(QRect(box.left(), box.top() + bands[i].start, box.width(), bands[i].length));
        const qsizetype into = above <= below || underscores ? i - 1 : i + 1;
        const int start = std::min(bands[into].start, bands[i].start);
        const int end = std::max(bands[into].start + bands[into].length, bands[i].start + bands[i].length);
        bands[into] = {start, end - start};
        bands.removeAt(i);
        i = std::max<qsizetype>(0, i - 1);
    }
    return bands;
}

// Whether the ink of a few rows is all flat strokes as wide as an underscore: each run
// of columns it covers is at least that wide.
bool TextLayout::holdsOnlyStrokes(const QRect &rows) const
{
    const int shortest = int(std::lround(m_typography.characters(underscoreWidth)));
    int run = 0;
    for (int x = rows.left(); x <= rows.right() + 1; ++x) {
        bool inked = false;
        for (int y = rows.top(); x <= rows.right() && y <= rows.bottom() && !inked; ++y)
            inked = m_ink[index(x, y)];
        if (inked) {
            ++run;
            continue;
        }
        if (run > 0 && run < shortest)
            return false;
        run = 0;
    }
    return true;
}

// The stages of the layout, in order: the page's typography, measured on its pieces of
// ink; rules and frames set aside (and the glyphs drawn against them given back); faint
// rules set aside; the page cut into regions (rows, then columns, alleys found on the
// way); where each region's column ends.
TextLayout::TextLayout(const InkMap &ink)
    : m_width(ink.width()), m_height(ink.height())
{
    const std::size_t count = std::size_t(m_width) * m_height;
    m_ink.assign(count, 0);
    m_setAside.assign(count, 0);
    m_groundEdges.assign(count, 0);
    for (int y = 0; y < m_height; ++y) {
        const uchar *line = ink.contrast().constScanLine(y);
        for (int x = 0; x < m_width; ++x) {
            m_ink[index(x, y)] = line[x] >= InkMap::inkThreshold;
            m_groundEdges[index(x, y)] = ink.groundChangesAt(x, y);
        }
    }
    const ConnectedRuns pieces(m_ink, m_width, m_height, PixelConnectivity::sidesAndCorners);
    const std::vector<PieceExtent> extents = pieces.extents();
    const std::optional<PageTypography> measured = typographyOf(extents);
    m_typography = measured.value_or(PageTypography(minimumTextHeight));
    if (measured)
        setAsideRulesAndFrames(ink, pieces, extents);
    setAsideFaintRules(ink);
    cut(QRect(0, 0, m_width, m_height), 0);
    for (TextRegion &region : m_regions)
        region.columnEnd = columnEnd(region.box);
}

QList<qsizetype> TextLayout::regionsLongestFirst() const
{
    QList<double> lengths;
    for (const TextRegion &region : m_regions) {
        const double lineHeight = this->lineHeight(region);
        lengths.append(double(region.box.width()) * region.box.height() / (lineHeight * lineHeight));
    }
    QList<qsizetype> order(m_regions.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&lengths](qsizetype a, qsizetype b) { return lengths[a] > lengths[b]; });
    return order;
}

QRect TextLayout::inkBounds(const QRect &area) const
{
    int minX = INT_MAX, minY = INT_MAX, maxX = -1, maxY = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (m_ink[index(x, y)]) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        }
    }
    return maxX < 0 ? QRect() : QRect(QPoint(minX, minY), QPoint(maxX, maxY));
}

// Lines that touch: cut through the row with the least ink between them. A single line
// is densest in its middle, so only a thin row there parts two lines. Glyphs cut there
// reach across into the neighbouring line. Whether the box was parted.
bool TextLayout::partTouchingLines(const QRect &box, const std::vector<int> &rows, int bleed)
{
    if (box.height() < m_typography.characters(touchingLinesHeight))
        return false;
    const int first = int(box.height() * (1 - middleShare) / 2);
    const int last = box.height() - 1 - first;
    int thinnest = first;
    for (int y = first; y <= last; ++y) {
        if (rows[y] < rows[thinnest])
            thinnest = y;
    }
    const int widest = *std::max_element(rows.begin(), rows.end());
    if (rows[thinnest] > touchingRowShare * widest)
        return false;
    const int reach = std::max(bleed, int(std::lround(m_typography.characters(cutGlyphReach))));
    cut(QRect(box.left(), box.top(), box.width(), thinnest + 1), reach);
    cut(QRect(box.left(), box.top() + thinnest + 1, box.width(), box.height() - thinnest - 1), reach);
    return true;
}

void TextLayout::cut(const QRect &area, int bleed)
{
    const QRect box = inkBounds(area);
    if (box.isEmpty())
        return;

    std::vector<int> rows(box.height(), 0);
    std::vector<int> columns(box.width(), 0);
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (m_ink[index(x, y)]) {
                ++rows[y - box.top()];
                ++columns[x - box.left()];
            }
        }
    }

    const QList<Run> bands = joinThinBands(box, runs(rows, 1));
    if (bands.size() > 1) {
        findAlleys(box, bands);
        for (const Run &band : bands)
            cut(QRect(box.left(), box.top() + band.start, box.width(), band.length), bleed);
        return;
    }

    const bool singleLine = box.height() <= m_typography.characters(singleLineHeight);
    const double lineHeight = singleLine ? box.height() : m_typography.lineHeight();
    const QList<int> cuts = columnCuts(box, columns, lineHeight);
    if (!cuts.isEmpty()) {
        int left = box.left();
        for (const int at : cuts) {
            cut(QRect(left, box.top(), at - left, box.height()), bleed);
            left = at;
        }
        cut(QRect(left, box.top(), box.right() + 1 - left, box.height()), bleed);
        return;
    }
    if (partTouchingLines(box, rows, bleed))
        return;
    if (box.height() < minimumTextHeight || box.width() < 3)
        return;
    qint64 inkPixels = 0;
    for (const int c : columns)
        inkPixels += c;
    // A wide region that is mostly ink is a picture or a bar, not a line of text.
    if (box.width() > box.height() && double(inkPixels) > maximumTextDensity * double(box.width()) * box.height())
        return;
    m_regions.append({box, singleLine, bleed, {}});
}

} // namespace velmora
