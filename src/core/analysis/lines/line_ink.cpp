#include "core/analysis/lines/line_ink.h"

#include "core/analysis/ink/connected_runs.h"
#include "core/analysis/ink/typography.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

// The steps of LineInk, in order. Each length counts in the band's height (the
// line's height before its glyphs are known).

namespace velmora {

namespace {

// The underscore stroke lies in the lowest part of the line: this share of its height.
constexpr double strokeZone = 0.14;
// An underscore is at least this wide (wider than any dot or comma).
constexpr double minimumUnderscoreWidth = 0.3;
// A stroke that runs on under the glyphs beside it this far is an underline.
constexpr double underlineOverhang = 0.5;
// A stroke narrower than this with glyph ink right beside it on both sides is the thin
// bottom of one glyph (a "u" whose sides stand apart), not an underscore.
constexpr double glyphBottomWidth = 0.4;
// A flat stroke is at most this thick (at least two rows) and its rows are inked over at
// least this share of its width.
constexpr double barThickness = 0.15;
constexpr double barFill = 0.9;
// A piece of ink wider than this holds joined glyphs; in such a cluster, ink weaker than
// this share of the line's strong strokes does not join them.
constexpr double clusterWidth = 0.6;
constexpr double connectingShare = 0.5;
// Where a cluster is parted, a flat stroke of strong ink it leaves out, at least this
// wide (band heights) and at least twice as wide as it is tall, is a mark of its own
// that antialiasing joined to a glyph (a thin dash); other ink left out is the joint
// between two glyphs.
constexpr double partedMarkWidth = 0.4;
// The tip of a neighbouring line's glyph is lower than this.
constexpr double neighbourTipHeight = 0.35;
// A piece at an end of the line no wider than this whose ink is fainter than this share
// of the line's strong strokes is the edge of a frame around the text.
constexpr double edgeWidth = 0.35;
constexpr double edgeContrastShare = 0.6;
// Antialiased edges reach at most this many columns past a glyph's strong ink.
constexpr int faintEdgeReach = 2;
// Dim text beside bright text (grey values beside bold names) is antialiased as bright
// text is: its thin strokes reach only part of its own peak contrast, and at the page's
// ink threshold its glyphs fall apart into stems. Where the brightest ink within a line
// height is under this share of the line's strong strokes, a glyph's ink reaches this
// share of that brightest ink, never more than the page's ink threshold nor less than
// the dimmest glyph ink. Flat strokes (underscores, bars) are drawn at full contrast and
// are found at the page's threshold.
constexpr double dimTextShare = 0.6;
constexpr double dimStrokeShare = 0.3;
constexpr int dimmestGlyphInk = 32;

struct Column
{
    int strongTop = -1;
    int strongBottom = -1;
    bool strong = false;
    bool faint = false;
};

/// What the steps measure on a line and hand on, each reading what those before it found:
/// the ink of each column, the contrast of the line's strokes and its baseline.
struct LineProfile
{
    LineProfile(const InkMap &ink, const QRect &band);

    const InkMap &ink;
    QRect band;
    /// The band with a margin for antialiased edges, within the page.
    QRect area;
    /// The highest row of the zone at the bottom of the line that underscores lie in.
    int strokeTop = 0;
    std::vector<Column> columns;
    /// The contrast from which ink in each column is a glyph's (strong, or that of dim
    /// text's thin strokes).
    std::vector<int> glyphInkFrom;
    int strongStroke = 255;
    /// The row most glyphs stand on (set by the baseline step).
    int baseline = 0;

    double bandHeights(double count) const { return count * band.height(); }
    const Column &at(int x) const { return columns[std::size_t(x - area.left())]; }
    int glyphInkFromAt(int x) const { return glyphInkFrom[std::size_t(x - area.left())]; }
    bool strongAt(int x, int y) const { return ink.contrastAt(x, y) >= InkMap::inkThreshold; }
};

// Profile: the contrast of the line's strong strokes, from what contrast ink in each column is a
// glyph's (see dimTextShare), and each column's ink.
LineProfile::LineProfile(const InkMap &ink, const QRect &band)
    : ink(ink), band(band), area(band.adjusted(-2, -1, 2, 1).intersected(ink.rect()))
{
    if (area.isEmpty())
        return;
    strokeTop = band.bottom() - std::max(2, int(std::lround(bandHeights(strokeZone)))) + 1;
    const std::size_t width = std::size_t(area.width());
    std::vector<int> columnPeak(width, 0);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar *line = ink.contrast().constScanLine(y);
        for (int x = area.left(); x <= area.right(); ++x)
            columnPeak[std::size_t(x - area.left())] = std::max(columnPeak[std::size_t(x - area.left())], int(line[x]));
    }
    strongStroke = strongStrokeContrast(ink, area);
    glyphInkFrom.resize(width);
    const int reach = band.height();
    for (std::size_t i = 0; i < width; ++i) {
        const auto from = columnPeak.begin() + std::ptrdiff_t(i >= std::size_t(reach) ? i - reach : 0);
        const auto to = columnPeak.begin() + std::ptrdiff_t(std::min(width, i + reach + 1));
        const int peak = *std::max_element(from, to);
        glyphInkFrom[i] = peak < dimTextShare * strongStroke
            ? std::clamp(int(dimStrokeShare * peak), dimmestGlyphInk, int(InkMap::inkThreshold)) : int(InkMap::inkThreshold);
    }
    columns.resize(width);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar *line = ink.contrast().constScanLine(y);
        for (int x = area.left(); x <= area.right(); ++x) {
            Column &column = columns[std::size_t(x - area.left())];
            const int c = line[x];
            if (c >= InkMap::faintInkThreshold)
                column.faint = true;
            if (c >= glyphInkFromAt(x)) {
                if (!column.strong)
                    column.strongTop = y;
                column.strong = true;
                column.strongBottom = y;
            }
        }
    }
}

// Baseline: the row most columns of glyph ink end on. Columns whose only ink is in the
// stroke zone do not count, so that a line with many underscores ("__init__") keeps the
// baseline of its letters. A line with descenders has it above its lowest rows; a line
// without glyphs above its band.
int baselineOf(const LineProfile &line)
{
    std::map<int, int> bottoms;
    for (const Column &column : line.columns) {
        if (column.strong && column.strongTop < line.strokeTop)
            ++bottoms[column.strongBottom];
    }
    const auto most = std::max_element(bottoms.begin(), bottoms.end(), [](const auto &a, const auto &b) { return a.second < b.second; });
    return most == bottoms.end() ? line.band.top() - 1 : most->first;
}

// Whether a run of columns whose only strong ink lies in the stroke zone is an
// underscore: a stroke below the baseline that does not run on under the letters beside
// it (an underline) and is not the thin bottom of one glyph. A stroke that stands on the
// baseline is the foot of a glyph (the serif of a "1") or a dot, however wide its ink.
bool isUnderscore(const LineProfile &line, const ColumnSpan &run)
{
    const QRect &area = line.area;
    // The rows of the stroke, then how far it runs on beside the run.
    std::vector<int> strokeRows;
    for (int y = line.strokeTop; y <= std::min(line.band.bottom() + 1, area.bottom()); ++y) {
        int inked = 0;
        for (int x = run.left; x <= run.right; ++x)
            inked += line.strongAt(x, y);
        if (2 * inked >= run.width())
            strokeRows.push_back(y);
    }
    if (strokeRows.empty())
        return false;
    const auto continues = [&](int x) {
        return std::all_of(strokeRows.begin(), strokeRows.end(), [&](int y) { return line.strongAt(x, y); });
    };
    int overhang = 0;
    for (int x = run.left - 1; x >= area.left() && continues(x); --x)
        ++overhang;
    int overhangRight = 0;
    for (int x = run.right + 1; x <= area.right() && continues(x); ++x)
        ++overhangRight;
    const bool glyphBottom = run.left > area.left() && run.right < area.right() && line.at(run.left - 1).strong
        && line.at(run.right + 1).strong && run.width() < line.bandHeights(glyphBottomWidth);
    const bool onBaseline = strokeRows.back() <= line.baseline;
    return std::max(overhang, overhangRight) < line.bandHeights(underlineOverhang) && !glyphBottom && !onBaseline;
}

// Underscores: runs of columns whose only strong ink is a stroke at the bottom, below
// the baseline, with nothing above it.
QList<ColumnSpan> underscoresOf(const LineProfile &line)
{
    const QRect &area = line.area;
    const auto inStrokeZoneOnly = [&](int x) { return line.at(x).strong && line.at(x).strongTop >= line.strokeTop; };
    QList<ColumnSpan> strokes;
    for (int x = area.left(); x <= area.right();) {
        if (!inStrokeZoneOnly(x)) {
            ++x;
            continue;
        }
        ColumnSpan run{x, x};
        while (run.right + 1 <= area.right() && inStrokeZoneOnly(run.right + 1))
            ++run.right;
        x = run.right + 1;
        if (run.width() >= std::max(3.0, line.bandHeights(minimumUnderscoreWidth)) && isUnderscore(line, run))
            strokes.append(run);
    }
    return strokes;
}

// Whether the run of inked columns in row y is the lowest row of a flat bar: its rows are
// inked across (a flat stroke, not the curve of a descender), it is no thicker than a
// stroke, most of its width is empty just above it, and it does not run on under whole
// words (an underline).
bool isFlatBar(const LineProfile &line, const ColumnSpan &run, int y, int barTop)
{
    const auto filled = [&](int row) {
        int inked = 0;
        for (int x = run.left; x <= run.right; ++x)
            inked += line.strongAt(x, row);
        return inked >= barFill * run.width();
    };
    int top = y;
    while (top - 1 >= barTop && filled(top - 1))
        --top;
    const int thickness = y - top + 1;
    int above = 0;
    if (top - 1 >= line.area.top()) {
        for (int x = run.left; x <= run.right; ++x)
            above += line.strongAt(x, top - 1);
    }
    const bool underline = run.width() > line.bandHeights(2);
    return thickness <= std::max(2.0, line.bandHeights(barThickness)) && 2 * above <= run.width() && !underline;
}

// Bars: flat strokes at the bottom of the line, below the baseline and as wide as an
// underscore, that glyphs touch (a tightly set typeface joins an underscore to the
// letters beside it).
QList<ColumnSpan> touchedBarsOf(const LineProfile &line, const QList<ColumnSpan> &underscores)
{
    const QRect &area = line.area;
    const int barTop = std::min(line.strokeTop, line.baseline + 1);
    const int lowest = std::min(line.band.bottom() + 1, area.bottom());
    QList<ColumnSpan> bars;
    const auto known = [&](const ColumnSpan &run) {
        const auto overlaps = [&run](const ColumnSpan &other) { return other.left <= run.right && run.left <= other.right; };
        return std::any_of(underscores.begin(), underscores.end(), overlaps) || std::any_of(bars.begin(), bars.end(), overlaps);
    };
    for (int y = lowest; y >= barTop; --y) {
        for (int x = area.left(); x <= area.right();) {
            if (!line.strongAt(x, y)) {
                ++x;
                continue;
            }
            ColumnSpan run{x, x};
            while (run.right + 1 <= area.right() && line.strongAt(run.right + 1, y))
                ++run.right;
            x = run.right + 1;
            if (run.width() >= std::max(3.0, line.bandHeights(minimumUnderscoreWidth)) && !known(run) && isFlatBar(line, run, y, barTop))
                bars.append(run);
        }
    }
    std::sort(bars.begin(), bars.end(), [](const ColumnSpan &a, const ColumnSpan &b) { return a.left < b.left; });
    return bars;
}

// The connected ink of the columns [left, right] that is a glyph's and reaches
// `threshold`, the underscores' strokes aside.
QList<InkSegment> piecesOf(const LineProfile &line, const std::vector<bool> &underscore, int threshold, int left, int right)
{
    const QRect &area = line.area;
    const int width = right - left + 1;
    std::vector<std::uint8_t> mask(std::size_t(width) * std::size_t(area.height()), 0);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar *row = line.ink.contrast().constScanLine(y);
        std::uint8_t *marks = mask.data() + std::size_t(y - area.top()) * width;
        for (int x = left; x <= right; ++x)
            marks[x - left] = row[x] >= std::max(threshold, line.glyphInkFromAt(x)) && !(underscore[std::size_t(x - area.left())] && y >= line.strokeTop);
    }
    QList<InkSegment> pieces;
    for (const PieceExtent &piece : ConnectedRuns(mask, width, area.height(), PixelConnectivity::sidesAndCorners).extents()) {
        const ColumnSpan columns{left + piece.minX, left + piece.maxX};
        pieces.append({columns, columns, area.top() + piece.minY, area.top() + piece.maxY});
    }
    return pieces;
}

// The parts of a cluster parted at its stronger ink, with the marks between them that
// that ink leaves out (see partedMarkWidth), from left to right.
QList<InkSegment> withMarksBetween(const LineProfile &line, const std::vector<bool> &underscore, const InkSegment &cluster,
                                   QList<InkSegment> parts)
{
    std::vector<bool> covered(std::size_t(cluster.strong.width()), false);
    for (const InkSegment &part : parts)
        std::fill(covered.begin() + (part.strong.left - cluster.strong.left), covered.begin() + (part.strong.right - cluster.strong.left + 1), true);
    const auto isMark = [&](const InkSegment &mark) {
        return mark.strong.width() >= line.bandHeights(partedMarkWidth) && mark.strong.width() >= 2 * mark.height();
    };
    for (int x = cluster.strong.left; x <= cluster.strong.right;) {
        if (covered[std::size_t(x - cluster.strong.left)]) {
            ++x;
            continue;
        }
        int right = x;
        while (right + 1 <= cluster.strong.right && !covered[std::size_t(right + 1 - cluster.strong.left)])
            ++right;
        for (const InkSegment &mark : piecesOf(line, underscore, 0, x, right)) {
            if (isMark(mark))
                parts.append(mark);
        }
        x = right + 1;
    }
    std::sort(parts.begin(), parts.end(), [](const InkSegment &a, const InkSegment &b) { return a.strong.left < b.strong.left; });
    return parts;
}

// Pieces: connected glyph ink, the underscores' strokes aside, so that glyphs whose
// columns meet without touching stay apart, from left to right. Antialiased pixels
// between glyphs set close together can reach the ink threshold and join them into
// clusters wider than a glyph: there, only ink of a good share of the line's strong
// strokes (or of a dim cluster's own) connects glyphs. Where the line was parted from a touching one, the tips of
// that line's glyphs lie along the cut: short pieces touching the top or bottom edge. A
// dot on the baseline at the bottom edge whose ink stops there is this line's own: only
// one of a band's edges need be the cut, the other may be a blank gap.
QList<InkSegment> glyphPiecesOf(const LineProfile &line, const QList<ColumnSpan> &underscores, bool partedFromNeighbours)
{
    const QRect &area = line.area;
    const QRect &band = line.band;
    std::vector<bool> underscore(line.columns.size(), false);
    for (const ColumnSpan &stroke : underscores)
        std::fill(underscore.begin() + (stroke.left - area.left()), underscore.begin() + (stroke.right - area.left() + 1), true);
    // A dim cluster on a line of brighter ink is parted at a share of its own strokes.
    const auto connecting = [&](const InkSegment &piece) {
        int peak = 0;
        for (int y = piece.top; y <= piece.bottom; ++y) {
            for (int x = piece.strong.left; x <= piece.strong.right; ++x)
                peak = std::max(peak, line.ink.contrastAt(x, y));
        }
        return int(connectingShare * std::min(line.strongStroke, peak));
    };
    const auto neighboursTip = [&](const InkSegment &part) {
        const bool atEdge = part.top <= band.top() || part.bottom >= band.bottom();
        const bool dotOnBaseline = part.bottom == line.baseline && part.bottom <= band.bottom() && part.top > band.top();
        return atEdge && !dotOnBaseline && part.height() < line.bandHeights(neighbourTipHeight);
    };
    QList<InkSegment> glyphs;
    for (const InkSegment &piece : piecesOf(line, underscore, 0, area.left(), area.right())) {
        const bool cluster = piece.strong.width() > line.bandHeights(clusterWidth);
        const int joining = cluster ? connecting(piece) : 0;
        const QList<InkSegment> parts = cluster && joining > InkMap::inkThreshold
            ? piecesOf(line, underscore, joining, piece.strong.left, piece.strong.right) : QList<InkSegment>();
        for (const InkSegment &part : parts.size() > 1 ? withMarksBetween(line, underscore, piece, parts) : QList<InkSegment>{piece}) {
            if (!(partedFromNeighbours && neighboursTip(part)))
                glyphs.append(part);
        }
    }
    std::sort(glyphs.begin(), glyphs.end(), [](const InkSegment &a, const InkSegment &b) { return a.strong.left < b.strong.left; });
    return glyphs;
}

// Stacking: pieces stacked over one another (the dot of an i, the bars of an equals
// sign), overlapping by at least half the narrower one's width, are one glyph.
QList<InkSegment> stacked(const QList<InkSegment> &pieces)
{
    QList<InkSegment> glyphs;
    for (const InkSegment &piece : pieces) {
        const auto over = [&piece](const InkSegment &glyph) {
            const int overlap = std::min(glyph.strong.right, piece.strong.right) - std::max(glyph.strong.left, piece.strong.left) + 1;
            return 2 * overlap >= std::min(glyph.strong.width(), piece.strong.width());
        };
        const auto into = std::find_if(glyphs.begin(), glyphs.end(), over);
        if (into == glyphs.end()) {
            glyphs.append(piece);
            continue;
        }
        into->strong.left = std::min(into->strong.left, piece.strong.left);
        into->strong.right = std::max(into->strong.right, piece.strong.right);
        into->top = std::min(into->top, piece.top);
        into->bottom = std::max(into->bottom, piece.bottom);
    }
    std::sort(glyphs.begin(), glyphs.end(), [](const InkSegment &a, const InkSegment &b) { return a.strong.left < b.strong.left; });
    return glyphs;
}

// Whether ink in these columns is no wider than the edge of a frame and fainter than the
// line's strokes.
bool isFaintEdge(const LineProfile &line, const ColumnSpan &columns)
{
    if (columns.width() > line.bandHeights(edgeWidth))
        return false;
    int peak = 0;
    for (int y = line.area.top(); y <= line.area.bottom(); ++y) {
        for (int x = columns.left; x <= columns.right; ++x)
            peak = std::max(peak, line.ink.contrastAt(x, y));
    }
    return peak < edgeContrastShare * line.strongStroke;
}

// Faint ends: the rounded ends of a bubble or a button around the text are ink too, but
// fainter than the text's strokes: such glyphs at either end of the line, and such
// strokes beyond its glyphs, are taken out; the glyphs' are returned from left to right.
QList<ColumnSpan> takeFaintEnds(const LineProfile &line, QList<InkSegment> &glyphs, QList<ColumnSpan> &underscores)
{
    QList<ColumnSpan> ends;
    while (glyphs.size() > 1 && isFaintEdge(line, glyphs.front().strong))
        ends.prepend(glyphs.takeFirst().strong);
    while (glyphs.size() > 1 && isFaintEdge(line, glyphs.back().strong))
        ends.append(glyphs.takeLast().strong);
    underscores.removeIf([&](const ColumnSpan &stroke) {
        const bool outside = glyphs.isEmpty() || stroke.right < glyphs.front().strong.left || stroke.left > glyphs.back().strong.right;
        return outside && isFaintEdge(line, stroke);
    });
    return ends;
}

// Faint edges: antialiased edges just beside a glyph's strong ink belong to it.
void addFaintEdges(const LineProfile &line, QList<InkSegment> &glyphs)
{
    const QRect &area = line.area;
    for (InkSegment &glyph : glyphs) {
        glyph.faint = glyph.strong;
        for (int step = 0; step < faintEdgeReach && glyph.faint.left - 1 >= area.left() && line.at(glyph.faint.left - 1).faint; ++step)
            --glyph.faint.left;
        for (int step = 0; step < faintEdgeReach && glyph.faint.right + 1 <= area.right() && line.at(glyph.faint.right + 1).faint; ++step)
            ++glyph.faint.right;
    }
}

} // namespace

LineInk::LineInk(const InkMap &ink, const QRect &band, bool partedFromNeighbours)
    : m_band(band)
{
    LineProfile line(ink, band);
    if (line.area.isEmpty())
        return;
    line.baseline = baselineOf(line);
    m_underscores = underscoresOf(line);
    m_touchedBars = touchedBarsOf(line, m_underscores);
    m_segments = stacked(glyphPiecesOf(line, m_underscores, partedFromNeighbours));
    m_faintEnds = takeFaintEnds(line, m_segments, m_underscores);
    addFaintEdges(line, m_segments);
}

} // namespace velmora
