#include "core/analysis/line_ink.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velmora {

namespace {

// The underscore stroke lies in the lowest part of the line: this share of its height.
constexpr double strokeZoneShare = 0.14;
// An underscore is at least this wide, in line heights (wider than any dot or comma).
constexpr double minimumUnderscoreWidth = 0.3;
// A stroke that runs on under the glyphs beside it for this many line heights is an underline.
constexpr double underlineOverhang = 0.5;

struct Column
{
    int strongTop = -1;
    int strongBottom = -1;
    bool strong = false;
    bool faint = false;
};

} // namespace

LineInk::LineInk(const InkMap &ink, const QRect &band)
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

    // Underscores: runs of columns whose only strong ink is a stroke at the bottom.
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
        if (strokeRows.empty() || std::max(overhang, overhangRight) >= underlineOverhang * bandHeight)
            continue;
        m_underscores.append(run);
        for (int cx = run.left; cx <= run.right; ++cx)
            underscore[cx - area.left()] = true;
    }

    // Glyph clusters: runs of strong columns, widened by their faint edges.
    const auto glyphColumn = [&](int cx) { return at(cx).strong && !underscore[cx - area.left()]; };
    for (x = area.left(); x <= area.right(); ++x) {
        if (!glyphColumn(x))
            continue;
        InkSegment segment{{x, x}, {x, x}, at(x).strongTop, at(x).strongBottom};
        while (segment.strong.right + 1 <= area.right() && glyphColumn(segment.strong.right + 1)) {
            ++segment.strong.right;
            segment.top = std::min(segment.top, at(segment.strong.right).strongTop);
            segment.bottom = std::max(segment.bottom, at(segment.strong.right).strongBottom);
        }
        x = segment.strong.right;
        m_segments.append(segment);
    }
    const auto free = [&](int cx) { return !at(cx).strong && !underscore[cx - area.left()] && at(cx).faint; };
    for (InkSegment &segment : m_segments) {
        segment.faint = segment.strong;
        while (segment.faint.left - 1 >= area.left() && free(segment.faint.left - 1))
            --segment.faint.left;
        while (segment.faint.right + 1 <= area.right() && free(segment.faint.right + 1))
            ++segment.faint.right;
    }
}

} // namespace velmora
