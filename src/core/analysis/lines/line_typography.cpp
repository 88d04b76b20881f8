#include "core/analysis/lines/line_typography.h"

#include "core/support/upper_median.h"

#include <algorithm>
#include <climits>

namespace velmora {

namespace {

// Glyphs are at least this share of the median glyph's height; lower ink is a dot, a
// comma or a speck.
constexpr double smallestGlyphShare = 0.4;
// Typefaces set tighter than the letter spacing limit keep their word spaces narrow:
// where Tesseract read a word break, a gap this much wider than the line's usual gap
// between glyphs is one, but never one narrower than the least word gap (line heights).
constexpr double wordGapOverLetterGap = 0.1;
constexpr double leastWordGap = 0.12;

// The height of the line's text, top of the tallest glyph to the bottom of the
// lowest: the band may also hold specks of a nearby frame, which must not make the
// line seem taller and its letter spacing wider.
double textHeight(const LineInk &ink)
{
    QList<int> heights;
    for (const InkSegment &segment : ink.segments())
        heights.append(segment.height());
    if (heights.isEmpty())
        return std::max(1, ink.band().height());
    std::sort(heights.begin(), heights.end());
    const double smallest = smallestGlyphShare * heights[heights.size() / 2];
    int top = INT_MAX;
    int bottom = INT_MIN;
    for (const InkSegment &segment : ink.segments()) {
        if (segment.height() >= smallest && segment.strong.width() >= 2) {
            top = std::min(top, segment.top);
            bottom = std::max(bottom, segment.bottom);
        }
    }
    return top > bottom ? std::max(1, ink.band().height()) : double(bottom - top + 1);
}

} // namespace

LineTypography LineTypography::of(const LineInk &ink)
{
    LineTypography line;
    line.height = textHeight(ink);
    line.engineWordGap = line.heights(line_reading::letterSpacingLimit);
    QList<int> gaps;
    const QList<InkSegment> &segments = ink.segments();
    for (qsizetype k = 1; k < segments.size(); ++k)
        gaps.append(segments[k].strong.left - segments[k - 1].strong.right - 1);
    if (!gaps.isEmpty()) {
        const double usual = std::max(0, upperMedian(std::move(gaps)));
        const double overUsual = std::min(line.engineWordGap, std::max(leastWordGap, usual / line.height + wordGapOverLetterGap) * line.height);
        line.engineWordGap = std::min(overUsual, std::max(leastWordGap * line.height, usual + 1));
    }
    return line;
}

} // namespace velmora
