#pragma once

#include "core/analysis/ink/ink_map.h"
#include "core/analysis/lines/line_ink.h"
#include "core/analysis/layout/monospace_grid.h"
#include "core/analysis/recognition/recognized_line.h"

#include <QRect>

#include <optional>

namespace velmora {

/// The ends where a line's ink runs up to the end of its column or of the page, cut
/// off there: its glyph at that end may be a sliver.
struct CutOffEnds
{
    bool left = false;
    bool right = false;
};

// Turns the characters Tesseract read on one line into the line's text, the pixels
// of each character and the line's confidence, trusting the pixels over Tesseract
// where they disagree:
// - each character is matched to the ink it stands on, in order; a character with no
//   ink under it is dropped, unless it is a dot or a colon whose ink touches the glyph
//   beside it; a doubtful mark at an end of the line over the glyph beside it is dropped,
//   and so is a mark read on the sliver of a glyph where the line is cut off;
// - a character's box covers all the ink it stands on (the whole cluster where glyphs
//   touch, unless a monospace grid tells the cells apart); ink no character stands
//   on, and the ink of a doubtful character, is covered by the boxes beside it too,
//   so that a range's box never leaves part of a glyph out;
// - a space is kept only where the ink leaves a word gap: in a monospace line an
//   empty cell, elsewhere a gap clearly wider than the line's usual letter spacing;
//   a break the gap does not make sure of is taken back where it splits a token;
// - a thin stroke at the bottom of a gap is an underscore;
// - a capital I and a small l are told apart by their height, where the typeface's
//   capitals and ascenders differ;
// - the confidence says how likely the whole line is to be right, and each character's
//   doubt how likely any range of it is.
class LineAssembler
{
public:
    /// `band` is the part of the page that holds the line's ink; its glyphs may reach
    /// `bleed` rows beyond it where the line was parted from a touching one.
    LineAssembler(const InkMap &ink, const QRect &band, int bleed = 0, CutOffEnds cutOff = {});

    RecognizedLine assemble(const QList<PageSymbol> &symbols) const;

private:
    struct Place;
    struct Item;
    struct CharacterDoubt;
    QList<Place> places(qsizetype characterCount) const;
    QList<int> matchSymbols(const QList<PageSymbol> &symbols, const QList<Place> &places) const;
    void keepMarksInClusters(const QList<PageSymbol> &symbols, const QList<Place> &places, QList<int> &matched) const;
    bool holdsMarkInk(const Place &place, const QRectF &box) const;
    static double textHeight(const LineInk &ink);
    static QList<CharacterDoubt> characterDoubts(const QList<Item> &items, const QList<Place> &places);
    static void tellCapitalIFromSmallL(QList<Item> &items, const QList<Place> &places);
    struct Gap
    {
        int width = 0;
        bool besideNarrowGlyph = false;
    };
    Gap widestGap(const QList<Place> &places, int left, int right) const;
    bool gapIsSpace(const QList<Place> &places, int left, int right, bool enginePutSpace) const;
    bool gapIsLoose(const QList<Place> &places, int left, int right, bool enginePutSpace) const;

    const InkMap *m_inkMap;
    LineInk m_ink;
    double m_height;
    /// The narrowest gap (pixels) that is a word break where Tesseract read one.
    double m_engineSpaceGap;
    /// The narrowest gap that may be a word break where Tesseract read one, unless it
    /// splits a token.
    double m_looseSpaceGap;
    int m_bleed;
    CutOffEnds m_cutOff;
    std::optional<MonospaceGrid> m_grid;
};

} // namespace velmora
