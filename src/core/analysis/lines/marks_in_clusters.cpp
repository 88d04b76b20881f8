#include "core/analysis/lines/line_assembler_parts.h"

namespace velmora {

namespace {

// Tesseract is at least this sure of a mark it read between two characters.
constexpr double sureMark = 0.9;
// A dot, a comma or a colon has no ink in the top of its line: this many heights of its
// band.
constexpr double markFreeTop = 0.35;

bool isDotOrColon(const QString &text)
{
    static const QString marks = QStringLiteral(".,:;");
    return text.size() == 1 && marks.contains(text.front());
}

} // namespace

// Marks in clusters: in small text a dot or a colon may touch the glyph beside it
// through their antialiased edges, so that it is part of that glyph's ink and no place
// of its own is left for it. Where Tesseract is sure of such a mark after a letter or
// digit and before another character, both standing on ink, and the ink of either under
// the mark has columns with ink only low in the line (a mark's, not a letter's), the
// mark stands on that ink too.
void LineAssembler::keepMarksInClusters(Reading &reading) const
{
    QList<ReadCharacter> &characters = reading.characters;
    for (qsizetype i = 1; i + 1 < characters.size(); ++i) {
        const ReadCharacter &mark = characters[i];
        if (mark.place >= 0 || !isDotOrColon(mark.text) || mark.confidence < sureMark)
            continue;
        qsizetype before = i - 1;
        while (before >= 0 && characters[before].place < 0)
            --before;
        qsizetype after = i + 1;
        while (after < characters.size() && characters[after].place < 0)
            ++after;
        // A mark after a mark is one Tesseract read twice.
        if (before < 0 || after == characters.size() || characters[before].text.isEmpty() || !characters[before].text.front().isLetterOrNumber())
            continue;
        for (const int place : {characters[before].place, characters[after].place}) {
            if (!reading.places[place].isUnderscore && holdsMarkInk(reading.places[place], mark.left, mark.right)) {
                characters[i].place = place;
                break;
            }
        }
    }
}

// Whether the place has, within the columns of a mark's box (from left to right), a
// column whose ink lies only below the top of the line.
bool LineAssembler::holdsMarkInk(const Place &place, double left, double right) const
{
    const QRect &band = m_ink.band();
    const int first = std::max(place.strong.left, int(std::floor(left)) - 1);
    const int last = std::min(place.strong.right, int(std::ceil(right)) + 1);
    const int markTop = band.top() + int(std::lround(markFreeTop * band.height()));
    for (int x = first; x <= last; ++x) {
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
