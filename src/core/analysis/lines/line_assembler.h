#pragma once

#include "core/analysis/ink/ink_map.h"
#include "core/analysis/layout/monospace_grid.h"
#include "core/analysis/lines/line_ink.h"
#include "core/analysis/lines/line_typography.h"
#include "core/analysis/lines/read_character.h"
#include "core/analysis/recognition/recognized_line.h"
#include "core/detection/text_observation.h"

#include <QRect>

#include <optional>

namespace velmora {

// Turns the characters Tesseract read on one line into the line's text, the pixels
// of each character and the line's confidence, trusting the pixels over Tesseract
// where they disagree. It works in passes over one value, the line's reading (the
// places of ink, and the characters with the place each stands on and the break
// before it), each pass in the file that holds its constants, in this order:
//  1. stand on ink (symbol_matching.cpp): the places of ink, and each character
//     matched to the place it stands on, in order, by a dynamic programme;
//  2. marks in clusters (marks_in_clusters.cpp): a sure dot or colon whose ink touches
//     the glyph beside it stands on that glyph's ink;
//  3. characters on ink (characters_on_ink.cpp): a character on no ink is dropped; so
//     are a first letter read twice, a second reading of one monospace cell, a
//     doubtful mark at an end of the line over the glyph beside it, and a mark read on
//     the sliver of a glyph where the line is cut off; a stroke no character stands
//     on is read as an underscore, and a dot between glyphs of a monospace line as a
//     full stop;
//  4. word breaks (word_gaps.cpp): a space is kept only where the ink leaves a word
//     gap: in a monospace line an empty cell, elsewhere a gap clearly wider than the
//     line's usual letter spacing;
//  5. tokens (repairs/): a loose break that splits a token or an IPv4 address is taken
//     back, and a character no token or address holds where it stands is replaced by
//     Tesseract's likeliest letter or digit; a card number's misread dash or digit is mended
//     (card_number_repair.cpp); where one is left and Tesseract's choices are not at
//     hand, the line asks for them;
//  6. capital I and small l (capital_i_and_small_l.cpp): told apart by their height,
//     where the typeface's capitals and ascenders differ, then by their word
//     (repairs/), with the fixed beginnings of keys;
//  7. boxes (character_boxes.cpp): a character's box covers all the ink it stands on
//     (the whole cluster where glyphs touch, unless a monospace grid tells the cells
//     apart); ink no character stands on, ink at a cut, and the ink of a doubtful
//     character, is covered by the boxes beside it too, so that a range's box never
//     leaves part of a glyph out;
//  8. confidence (line_assembler.cpp, character_doubt.cpp): how likely the whole line
//     is to be right, and each character's doubt, how likely any range of it is.
// A new rule about how a line reads goes into the pass whose question it answers, or
// into a new pass where what it needs is known; the passes run in assemble().
class LineAssembler
{
public:
    /// `band` is the part of the page that holds the line's ink; its glyphs may reach
    /// `bleed` rows beyond it where the line was parted from a touching one. `cut` is
    /// where its ink is cut off (ColumnEnd::cutOfInk): its glyph there may be a sliver.
    LineAssembler(const InkMap &ink, const QRect &band, int bleed = 0, TextCut cut = {});

    RecognizedLine assemble(const QList<PageSymbol> &symbols) const;

private:
    struct Place;
    struct Reading;
    struct CharacterDoubt;
    // 1. Stand on ink (symbol_matching.cpp).
    Reading standOnInk(const QList<PageSymbol> &symbols) const;
    QList<Place> places(qsizetype characterCount) const;
    QList<int> matchSymbols(const QList<PageSymbol> &symbols, const QList<Place> &places) const;
    double placeCost(const QString &text, double left, double right, const Place &place) const;
    void logReading(const Reading &reading) const;
    // 2. Marks in clusters (marks_in_clusters.cpp).
    void keepMarksInClusters(Reading &reading) const;
    bool holdsMarkInk(const Place &place, double left, double right) const;
    // 3. Characters on ink (characters_on_ink.cpp).
    static void dropCharactersOnNoInk(Reading &reading);
    static void dropDoubledFirstLetters(Reading &reading);
    void dropSecondReadingsOfACell(Reading &reading) const;
    static void dropInventedEndMarks(Reading &reading);
    void dropMarksAtCuts(Reading &reading) const;
    void readStrokesAsUnderscores(Reading &reading) const;
    void readDotsAsFullStops(Reading &reading) const;
    bool atCut(const Reading &reading, const ReadCharacter &character, bool atRight) const;
    // 4. Word breaks (word_gaps.cpp).
    void findWordBreaks(Reading &reading) const;
    struct Gap
    {
        int width = 0;
        bool besideNarrowGlyph = false;
    };
    Gap widestGap(const QList<Place> &places, int left, int right) const;
    bool gapIsSpace(const QList<Place> &places, int left, int right, bool enginePutSpace) const;
    bool gapIsLoose(const QList<Place> &places, int left, int right, bool enginePutSpace) const;
    // 5. Tokens (line_assembler.cpp; the repairs themselves in repairs/).
    static void askForAlternatives(Reading &reading);
    // 6. Capital I and small l (capital_i_and_small_l.cpp).
    static void tellCapitalIFromSmallL(Reading &reading);
    // 7. Boxes (character_boxes.cpp).
    void placeCharacterBoxes(Reading &reading) const;
    static void coverUnreadInk(Reading &reading);
    void coverInkAtCuts(Reading &reading) const;
    static void coverDoubtfulInk(Reading &reading);
    // 8. Confidence (line_assembler.cpp, character_doubt.cpp).
    RecognizedLine finished(const Reading &reading) const;
    static QList<CharacterDoubt> characterDoubts(const Reading &reading);

    const InkMap *m_inkMap;
    LineInk m_ink;
    LineTypography m_typography;
    int m_bleed;
    TextCut m_cut;
    /// The cells the glyphs stand on, where they stand on a grid (the digits of any
    /// typeface do), for the reading.
    std::optional<MonospaceGrid> m_grid;
    /// The width of those cells where the line is surely set in a monospace font
    /// (RecognizedLine::cellPitch), or 0.
    double m_cellPitch = 0;
};

} // namespace velmora
