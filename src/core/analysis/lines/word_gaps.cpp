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
            widest.besideNarrowGlyph = std::min(places[k].strong.width(), places[k + 1].strong.width()) < narrowGlyphWidth * m_height;
        }
    }
    return widest;
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
        return gap.width >= line_reading::wordSpacingLimit * m_height;
    return gap.width >= (gap.besideNarrowGlyph ? line_reading::letterSpacingLimit * m_height : m_looseSpaceGap);
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
        return gap.width < wideGap * m_height;
    const bool besideMark = places[left].height < line_reading::markHeight * m_height || places[right].height < line_reading::markHeight * m_height;
    return gap.width < line_reading::wordSpacingLimit * m_height || (gap.width < wideGap * m_height && (gap.besideNarrowGlyph || besideMark));
}

} // namespace velmora
