#include "core/analysis/lines/line_assembler_parts.h"

#include <vector>

// Pass 7 of LineAssembler: the columns each character's box covers. A box covers all the
// ink its character stands on, and where the ink cannot tell which character a glyph
// belongs to, the boxes beside it cover it too: a range's box never leaves part of a
// glyph out.

namespace velmora {

using line_reading::edgeAllowance;

namespace {

// Where touching glyphs of a monospace line share one cluster of ink, each character's
// box reaches this share of a cell into its neighbours.
constexpr double sharedInkReach = 0.3;

void reachOver(ReadCharacter &character, double left, double right)
{
    character.left = std::min(character.left, left);
    character.right = std::max(character.right, right);
}

} // namespace

// Each character's columns: the ink it stands on and its antialiased edges. Where
// touching glyphs share a place of ink, only a monospace grid tells where one ends;
// otherwise each of them takes the whole place, since a split in the wrong spot would
// leave part of a glyph uncovered.
void LineAssembler::placeCharacterBoxes(Reading &reading) const
{
    QList<ReadCharacter> &characters = reading.characters;
    for (qsizetype first = 0; first < characters.size();) {
        qsizetype last = first;
        while (last + 1 < characters.size() && characters[last + 1].place == characters[first].place)
            ++last;
        const Place &place = reading.places[characters[first].place];
        const bool cellsKnown = m_grid && !place.isUnderscore && place.cells == last - first + 1;
        for (qsizetype k = first; k <= last; ++k) {
            double left = place.faint.left;
            double right = place.faint.right + 1;
            if (cellsKnown && last > first) {
                const double cellLeft = m_grid->origin + (place.firstCell + (k - first) - 0.5) * m_grid->pitch;
                left = k == first ? left : std::max(left, cellLeft - sharedInkReach * m_grid->pitch);
                right = k == last ? right : std::min(right, cellLeft + (1 + sharedInkReach) * m_grid->pitch);
            }
            characters[k].left = left - edgeAllowance;
            characters[k].right = right + edgeAllowance;
        }
        first = last + 1;
    }
}

// Ink no character stands on may belong to either character beside it.
void LineAssembler::coverUnreadInk(Reading &reading)
{
    for (qsizetype j = 0; j < reading.places.size() && !reading.characters.isEmpty(); ++j) {
        if (reading.standsOn(j))
            continue;
        const double left = reading.places[j].faint.left - edgeAllowance;
        const double right = reading.places[j].faint.right + 1 + edgeAllowance;
        const auto next = reading.after(j);
        if (next != reading.characters.end())
            reachOver(*next, left, right);
        if (next != reading.characters.begin())
            reachOver(*std::prev(next), left, right);
    }
}

// Faint ink at an end where the line is cut off is the sliver of a glyph, covered with
// the line (elsewhere it is the end of a frame around the text); a glyph at a cut is
// covered by the character beside it in the same word.
void LineAssembler::coverInkAtCuts(Reading &reading) const
{
    QList<ReadCharacter> &characters = reading.characters;
    for (const ColumnSpan &end : m_ink.faintEnds()) {
        if (characters.isEmpty())
            break;
        const bool atLeft = end.right < reading.places[characters.front().place].strong.left;
        if (atLeft ? m_cut.atStart() : m_cut.atEnd())
            reachOver(atLeft ? characters.front() : characters.back(), end.left - edgeAllowance, end.right + 1 + edgeAllowance);
    }
    const qsizetype last = characters.size() - 1;
    if (last > 0 && atCut(reading, characters[last], true) && !characters[last].breakBefore)
        reachOver(characters[last - 1], characters[last].left, characters[last].right);
    if (last > 0 && atCut(reading, characters[0], false) && !characters[1].breakBefore)
        reachOver(characters[1], characters[0].left, characters[0].right);
}

// A doubtful character may stand on ink that belongs to the character beside it in the
// same word, when Tesseract read one character too many or too few: the boxes of its
// neighbours reach over its ink (as placed before any of them reached further).
void LineAssembler::coverDoubtfulInk(Reading &reading)
{
    QList<ReadCharacter> &characters = reading.characters;
    std::vector<std::pair<double, double>> placed;
    placed.reserve(std::size_t(characters.size()));
    for (const ReadCharacter &character : characters)
        placed.emplace_back(character.left, character.right);
    for (qsizetype k = 0; k < characters.size(); ++k) {
        if (characters[k].confidence >= line_reading::doubtfulCharacter)
            continue;
        const auto [left, right] = placed[std::size_t(k)];
        if (k > 0 && !characters[k].breakBefore)
            reachOver(characters[k - 1], left, right);
        if (k + 1 < characters.size() && !characters[k + 1].breakBefore)
            reachOver(characters[k + 1], left, right);
    }
}

} // namespace velmora
