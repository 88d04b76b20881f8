#include "core/analysis/lines/line_ink.h"

#include "core/analysis/ink/union_find.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace velmora {

namespace {

// The underscore stroke lies in the lowest part of the line: this share of its height.
constexpr double strokeZoneShare = 0.14;
// An underscore is at least this wide, in line heights (wider than any dot or comma).
constexpr double minimumUnderscoreWidth = 0.3;
// A stroke that runs on under the glyphs beside it for this many line heights is an underline.
constexpr double underlineOverhang = 0.5;
// A stroke narrower than this (line heights) with glyph ink right beside it on both
// sides is the thin bottom of one glyph (a "u" whose sides stand apart), not an underscore.
constexpr double glyphBottomWidth = 0.4;
// In a cluster of joined glyphs, ink weaker than this share of the line's strong
// strokes does not join them.
constexpr double connectingShare = 0.5;
// A piece at an end of the line no wider than this (line heights) whose ink is fainter
// than this share of the line's strong strokes is the edge of a frame around the text.
constexpr double edgeWidth = 0.35;
constexpr double edgeContrastShare = 0.6;
// A piece of ink wider than this (line heights) holds joined glyphs.
constexpr double clusterWidth = 0.6;
// A flat stroke is at most this thick (line heights, at least two rows) and its rows are
// inked over at least this share of its width.
constexpr double barThickness = 0.15;
constexpr double barFill = 0.9;
// The tip of a neighbouring line's glyph is lower than this share of the line.
constexpr double neighbourTipShare = 0.35;
// Antialiased edges reach at most this many columns past a glyph's strong ink.
constexpr int faintEdgeReach = 2;

struct Column
{
    int strongTop = -1;
    int strongBottom = -1;
    bool strong = false;
    bool faint = false;
};

} // namespace

LineInk::LineInk(const InkMap &ink, const QRect &band, bool partedFromNeighbours)
    : m_band(band)
{
    const QRect area = band.adjusted(-2, -1, 2, 1).intersected(ink.rect());
    if (area.isEmpty())
        return;
    const int bandHeight = band.height();
    const int strokeTop = band.bottom() - std::max(2, int(std::lround(strokeZoneShare * bandHeight))) + 1;

    std::vector<Column> columns(area.width());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar *line = ink.contrast().constScanLine(y);
        for (int x = area.left(); x <= area.right(); ++x) {
            Column &column = columns[x - area.left()];
            const int c = line[x];
            if (c >= InkMap::faintInkThreshold)
                column.faint = true;
            if (c >= InkMap::inkThreshold) {
                if (!column.strong)
                    column.strongTop = y;
                column.strong = true;
                column.strongBottom = y;
            }
        }
    }
    const auto at = [&](int x) -> const Column & { return columns[x - area.left()]; };
    const auto strongAt = [&](int x, int y) { return ink.contrastAt(x, y) >= InkMap::inkThreshold; };

    // The baseline: the row most columns of glyph ink end on. Columns whose only ink is
    // in the stroke zone do not count, so that a line with many underscores ("__init__")
    // keeps the baseline of its letters. A line with descenders has it above its lowest
    // rows; a line without glyphs above its band.
    std::map<int, int> bottoms;
    for (const Column &column : columns) {
        if (column.strong && column.strongTop < strokeTop)
            ++bottoms[column.strongBottom];
    }
    const auto mostBottoms = std::max_element(bottoms.begin(), bottoms.end(),
                                              [](const auto &a, const auto &b) { return a.second < b.second; });
    const int baseline = mostBottoms == bottoms.end() ? band.top() - 1 : mostBottoms->first;

    // Underscores: runs of columns whose only strong ink is a stroke at the bottom, below
    // the baseline. A stroke that stands on the baseline is the foot of a glyph (the serif
    // of a "1") or a dot, however wide its ink.
    std::vector<bool> underscore(area.width(), false);
    int x = area.left();
    while (x <= area.right()) {
        if (!(at(x).strong && at(x).strongTop >= strokeTop)) {
            ++x;
            continue;
        }
        ColumnSpan run{x, x};
        while (run.right + 1 <= area.right() && at(run.right + 1).strong && at(run.right + 1).strongTop >= strokeTop)
            ++run.right;
        x = run.right + 1;
        if (run.width() < std::max(3.0, minimumUnderscoreWidth * bandHeight))
            continue;
        // The rows of the stroke, then how far it runs on beside the run.
        std::vector<int> strokeRows;
        for (int y = strokeTop; y <= std::min(band.bottom() + 1, area.bottom()); ++y) {
            int inked = 0;
            for (int cx = run.left; cx <= run.right; ++cx)
                inked += strongAt(cx, y);
            if (2 * inked >= run.width())
                strokeRows.push_back(y);
        }
        const auto continues = [&](int cx) {
            return std::all_of(strokeRows.begin(), strokeRows.end(), [&](int y) { return strongAt(cx, y); });
        };
        int overhang = 0;
        for (int cx = run.left - 1; cx >= area.left() && continues(cx); --cx)
            ++overhang;
        int overhangRight = 0;
        for (int cx = run.right + 1; cx <= area.right() && continues(cx); ++cx)
            ++overhangRight;
        const bool glyphBottom = run.left > area.left() && run.right < area.right() && at(run.left - 1).strong
            && at(run.right + 1).strong && run.width() < glyphBottomWidth * bandHeight;
        const bool onBaseline = !strokeRows.empty() && strokeRows.back() <= baseline;
        if (strokeRows.empty() || std::max(overhang, overhangRight) >= underlineOverhang * bandHeight || glyphBottom || onBaseline)
            continue;
        m_underscores.append(run);
        for (int cx = run.left; cx <= run.right; ++cx)
            underscore[cx - area.left()] = true;
    }

    // Flat strokes that glyphs touch: a run of inked columns in the lowest rows of the
    // line, as wide as an underscore, whose rows are inked across (a flat stroke, not
    // the curve of a descender) and not thicker than a stroke.
    // They lie below the baseline.
    const int barTop = std::min(strokeTop, baseline + 1);
    const int lowest = std::min(band.bottom() + 1, area.bottom());
    for (int y = lowest; y >= barTop; --y) {
        int cx = area.left();
        while (cx <= area.right()) {
            if (!strongAt(cx, y)) {
                ++cx;
                continue;
            }
            ColumnSpan run{cx, cx};
            while (run.right + 1 <= area.right() && strongAt(run.right + 1, y))
                ++run.right;
            cx = run.right + 1;
            if (run.width() < std::max(3.0, minimumUnderscoreWidth * bandHeight))
                continue;
            const bool known = std::any_of(m_underscores.begin(), m_underscores.end(), [&run](const ColumnSpan &stroke) {
                return stroke.left <= run.right && run.left <= stroke.right;
            }) || std::any_of(m_touchedBars.begin(), m_touchedBars.end(), [&run](const ColumnSpan &bar) {
                return bar.left <= run.right && run.left <= bar.right;
            });
            if (known)
                continue;
            const auto filled = [&](int row) {
                int inked = 0;
                for (int x2 = run.left; x2 <= run.right; ++x2)
                    inked += strongAt(x2, row);
                return inked >= barFill * run.width();
            };
            int top = y;
            while (top - 1 >= barTop && filled(top - 1))
                --top;
            const int thickness = y - top + 1;
            // Just above the stroke, a flat bar leaves most of its width empty.
            int above = 0;
            if (top - 1 >= area.top()) {
                for (int x2 = run.left; x2 <= run.right; ++x2)
                    above += strongAt(x2, top - 1);
            }
            // An underline runs on under whole words.
            const bool underline = run.width() > 2 * bandHeight;
            if (thickness <= std::max(2.0, barThickness * bandHeight) && 2 * above <= run.width() && !underline)
                m_touchedBars.append(run);
        }
    }
    std::sort(m_touchedBars.begin(), m_touchedBars.end(), [](const ColumnSpan &a, const ColumnSpan &b) { return a.left < b.left; });

    // Glyphs: connected strong ink (the underscore strokes aside), so that glyphs whose
    // columns meet without touching stay apart; pieces stacked over one another (the
    // dot of an i, the bars of an equals sign) are one glyph.
    const int width = area.width();
    const auto index = [&](int px, int py) { return std::int32_t((py - area.top()) * width + (px - area.left())); };
    const auto componentsOf = [&](int threshold, int left, int right) {
        const auto glyphPixel = [&](int px, int py) {
            return ink.contrastAt(px, py) >= threshold && !(underscore[px - area.left()] && py >= strokeTop);
        };
        UnionFind pieces(std::size_t(width) * area.height());
        for (int py = area.top(); py <= area.bottom(); ++py) {
            for (int px = left; px <= right; ++px) {
                if (!glyphPixel(px, py))
                    continue;
                for (const auto &[dx, dy] : {std::pair{1, 0}, std::pair{-1, 1}, std::pair{0, 1}, std::pair{1, 1}}) {
                    const int nx = px + dx, ny = py + dy;
                    if (nx >= left && nx <= right && ny <= area.bottom() && glyphPixel(nx, ny))
                        pieces.unite(index(px, py), index(nx, ny));
                }
            }
        }
        std::map<std::int32_t, InkSegment> found;
        for (int py = area.top(); py <= area.bottom(); ++py) {
            for (int px = left; px <= right; ++px) {
                if (!glyphPixel(px, py))
                    continue;
                const auto [it, fresh] = found.try_emplace(pieces.find(index(px, py)), InkSegment{{px, px}, {px, px}, py, py});
                InkSegment &piece = it->second;
                piece.strong.left = std::min(piece.strong.left, px);
                piece.strong.right = std::max(piece.strong.right, px);
                piece.bottom = std::max(piece.bottom, py);
            }
        }
        QList<InkSegment> result;
        for (const auto &[root, piece] : found)
            result.append(piece);
        return result;
    };

    // Antialiased pixels between glyphs set close together can reach the ink threshold
    // and join them into clusters wider than a glyph: there, only ink of a
    // good share of the line's usual stroke contrast connects glyphs.
    std::vector<int> strokes;
    for (int py = area.top(); py <= area.bottom(); ++py) {
        const uchar *line = ink.contrast().constScanLine(py);
        for (int px = area.left(); px <= area.right(); ++px) {
            if (line[px] >= InkMap::inkThreshold)
                strokes.push_back(line[px]);
        }
    }
    int strongStroke = 255;
    if (!strokes.empty()) {
        const auto at = strokes.begin() + std::ptrdiff_t(strokes.size() * 9 / 10);
        std::nth_element(strokes.begin(), at, strokes.end());
        strongStroke = *at;
    }
    const int connecting = std::max(InkMap::inkThreshold, int(connectingShare * strongStroke));
    QList<InkSegment> glyphs;
    for (const InkSegment &piece : componentsOf(InkMap::inkThreshold, area.left(), area.right())) {
        const QList<InkSegment> parts = piece.strong.width() > clusterWidth * bandHeight && connecting > InkMap::inkThreshold
            ? componentsOf(connecting, piece.strong.left, piece.strong.right) : QList<InkSegment>();
        for (const InkSegment &part : parts.size() > 1 ? parts : QList<InkSegment>{piece}) {
            // Where the line was parted from a touching one, the tips of that line's glyphs
            // lie along the cut: short pieces touching the top or bottom edge. A dot on
            // the baseline at the bottom edge whose ink stops there is this line's own:
            // only one of a band's edges need be the cut, the other may be a blank gap.
            const bool atEdge = part.top <= band.top() || part.bottom >= band.bottom();
            const bool dotOnBaseline = part.bottom == baseline && part.bottom <= band.bottom() && part.top > band.top();
            if (partedFromNeighbours && atEdge && !dotOnBaseline && part.height() < neighbourTipShare * bandHeight)
                continue;
            glyphs.append(part);
        }
    }
    std::sort(glyphs.begin(), glyphs.end(), [](const InkSegment &a, const InkSegment &b) { return a.strong.left < b.strong.left; });
    for (const InkSegment &piece : glyphs) {
        // Stacked: overlapping by at least half the narrower one's width.
        const auto stacked = [&piece](const InkSegment &glyph) {
            const int overlap = std::min(glyph.strong.right, piece.strong.right) - std::max(glyph.strong.left, piece.strong.left) + 1;
            return 2 * overlap >= std::min(glyph.strong.width(), piece.strong.width());
        };
        const auto into = std::find_if(m_segments.begin(), m_segments.end(), stacked);
        if (into == m_segments.end()) {
            m_segments.append(piece);
            continue;
        }
        into->strong.left = std::min(into->strong.left, piece.strong.left);
        into->strong.right = std::max(into->strong.right, piece.strong.right);
        into->top = std::min(into->top, piece.top);
        into->bottom = std::max(into->bottom, piece.bottom);
    }
    std::sort(m_segments.begin(), m_segments.end(),
              [](const InkSegment &a, const InkSegment &b) { return a.strong.left < b.strong.left; });
    // The rounded ends of a bubble or button around the text are ink too, but fainter
    // than the text's strokes: such pieces at either end of the line are no glyphs.
    const auto faintEdge = [&](const ColumnSpan &columns) {
        if (columns.width() > edgeWidth * bandHeight)
            return false;
        int peak = 0;
        for (int py = area.top(); py <= area.bottom(); ++py) {
            for (int px = columns.left; px <= columns.right; ++px)
                peak = std::max(peak, ink.contrastAt(px, py));
        }
        return peak < edgeContrastShare * strongStroke;
    };
    while (m_segments.size() > 1 && faintEdge(m_segments.front().strong))
        m_faintEnds.prepend(m_segments.takeFirst().strong);
    while (m_segments.size() > 1 && faintEdge(m_segments.back().strong))
        m_faintEnds.append(m_segments.takeLast().strong);
    m_underscores.removeIf([&](const ColumnSpan &stroke) {
        const bool outside = m_segments.isEmpty() || stroke.right < m_segments.front().strong.left
            || stroke.left > m_segments.back().strong.right;
        return outside && faintEdge(stroke);
    });

    // Antialiased edges just beside a glyph's strong ink belong to it.
    for (InkSegment &segment : m_segments) {
        segment.faint = segment.strong;
        for (int step = 0; step < faintEdgeReach && segment.faint.left - 1 >= area.left() && at(segment.faint.left - 1).faint; ++step)
            --segment.faint.left;
        for (int step = 0; step < faintEdgeReach && segment.faint.right + 1 <= area.right() && at(segment.faint.right + 1).faint; ++step)
            ++segment.faint.right;
    }
}

} // namespace velmora
