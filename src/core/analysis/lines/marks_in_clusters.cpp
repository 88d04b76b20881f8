#include "core/analysis/lines/line_assembler_parts.h"

namespace velmora {

namespace {

// Tesseract is at least this sure of a mark it read between two characters.
constexpr double sureMark = 0.9;
// A dot, a comma or a colon has no ink in this top share of its line.
constexpr double markFreeTopShare = 0.35;

bool isDotOrColon(const QString &text)
{
    static const QString marks = QStringLiteral(".,:;");
    return text.size() == 1 && marks.contains(text.front());
}

} // namespace

// In small text a dot or a colon may touch the glyph beside it through their
// antialiased edges, so that it is part of that glyph's ink and no place of its own
// is left for it. Where Tesseract is sure of such a mark after a letter or digit and
// before another character, both standing on ink, and the ink of either under the
// mark has columns with ink only low in the line (a mark's, not a letter's), the mark
// stands on that ink too.
void LineAssembler::keepMarksInClusters(const QList<PageSymbol> &symbols, const QList<Place> &places, QList<int> &matched) const
{
    for (qsizetype i = 1; i + 1 < symbols.size(); ++i) {
        if (matched[i] >= 0 || !isDotOrColon(symbols[i].text) || symbols[i].confidence < sureMark)
            continue;
        qsizetype before = i - 1;
        while (before >= 0 && matched[before] < 0)
            --before;
        qsizetype after = i + 1;
        while (after < symbols.size() && matched[after] < 0)
            ++after;
        // A mark after a mark is one Tesseract read twice.
        if (before < 0 || after == symbols.size() || symbols[before].text.isEmpty() || !symbols[before].text.front().isLetterOrNumber())
            continue;
        for (const int place : {matched[before], matched[after]}) {
            if (!places[place].isUnderscore && holdsMarkInk(places[place], symbols[i].box)) {
                matched[i] = place;
                break;
            }
        }
    }
}

// Whether the place has, within the columns of a mark's box, a column whose ink lies
// only below the top of the line.
bool LineAssembler::holdsMarkInk(const Place &place, const QRectF &box) const
{
    const QRect &band = m_ink.band();
    const int left = std::max(place.strong.left, int(std::floor(box.left())) - 1);
    const int right = std::min(place.strong.right, int(std::ceil(box.right())) + 1);
    const int markTop = band.top() + int(std::lround(markFreeTopShare * band.height()));
    for (int x = left; x <= right; ++x) {
        bool high = false;
        bool low = false;
        for (int y = band.top(); y <= band.bottom(); ++y) {
            const bool ink = m_inkMap->contrastAt(x, y) >= InkMap::inkThreshold;
            high = high || (ink && y < markTop);
            low = low || (ink && y >= markTop);
        }
        if (low && !high)
            return true;
    }
    return false;
}

} // namespace velmora
