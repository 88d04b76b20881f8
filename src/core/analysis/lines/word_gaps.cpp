#include "core/analysis/lines/line_assembler_parts.h"

namespace velmora {

namespace {

// Beside a glyph narrower than this (line heights), only the wider letter spacing limit
// makes a word break.
constexpr double narrowGlyphWidth = 0.3;
// A word break Tesseract did not read is sure only in a gap this wide.
constexpr double wideGap = 0.6;

} // namespace

// The widest gap between the ink of two places, past any ink between them, in a line
// without a monospace grid.
LineAssembler::Gap LineAssembler::widestGap(const QList<Place> &places, int left, int right) const
{
    Gap widest;
    for (int k = left; k < right; ++k) {
        const int here = places[k + 1].strong.left - places[k].strong.right - 1;
        if (here >= widest.width) {
            widest.width = here;
            // Narrow glyphs (i, l, 1, I) stand in wide side bearings of their own.
            widest.besideNarrowGlyph = std::min(places[k].strong.width(), places[k + 1].strong.width()) < m_typography.heights(narrowGlyphWidth);
        }
    }
    return widest;
}

// Word breaks: between consecutive characters on different places of ink (neither an
// underscore's stroke) where the gap is a word gap (gapIsSpace), loose where the gap
// alone does not make sure of it (gapIsLoose). An "@" stands between the parts of an
// address, so only a wide gap beside it is a word break, whatever Tesseract read.
void LineAssembler::findWordBreaks(Reading &reading) const
{
    QList<ReadCharacter> &characters = reading.characters;
    const QList<Place> &places = reading.places;
    for (qsizetype k = 1; k < characters.size(); ++k) {
        const int before = characters[k - 1].place;
        const int here = characters[k].place;
        const bool besideAtSign = characters[k].text == QLatin1String("@") || characters[k - 1].text == QLatin1String("@");
        const bool enginePutSpace = characters[k].startsWord && !besideAtSign;
        characters[k].breakBefore = before != here && !places[before].isUnderscore && !places[here].isUnderscore
            && gapIsSpace(places, before, here, enginePutSpace);
        characters[k].looseBreak = characters[k].breakBefore && gapIsLoose(places, before, here, enginePutSpace);
    }
}

bool LineAssembler::gapIsSpace(const QList<Place> &places, int left, int right, bool enginePutSpace) const
{
    if (m_grid) {
        int emptyCells = 0;
        for (int k = left; k < right; ++k)
            emptyCells = std::max(emptyCells, places[k + 1].firstCell - (places[k].firstCell + places[k].cells));
        return emptyCells >= 1;
    }
    const Gap gap = widestGap(places, left, right);
    if (!enginePutSpace)
        return gap.width >= m_typography.heights(line_reading::wordSpacingLimit);
    return gap.width >= (gap.besideNarrowGlyph ? m_typography.heights(line_reading::letterSpacingLimit) : m_typography.engineWordGap);
}

// A word break, in a line without a grid, that the gap alone does not make sure of:
// one that Tesseract read in a gap narrower than a clear word gap, or beside a narrow
// glyph or a small mark (which stand in wide side bearings) in a gap narrower than a
// wide one; one that Tesseract did not read in a gap narrower than a wide one
// (monospace glyphs of thin typefaces stand that far apart).
bool LineAssembler::gapIsLoose(const QList<Place> &places, int left, int right, bool enginePutSpace) const
{
    if (m_grid)
        return false;
    const Gap gap = widestGap(places, left, right);
    if (!enginePutSpace)
        return gap.width < m_typography.heights(wideGap);
    const bool besideMark = places[left].height < m_typography.heights(line_reading::markHeight) || places[right].height < m_typography.heights(line_reading::markHeight);
    return gap.width < m_typography.heights(line_reading::wordSpacingLimit) || (gap.width < m_typography.heights(wideGap) && (gap.besideNarrowGlyph || besideMark));
}

} // namespace velmora
