#include "core/analysis/lines/line_assembler_parts.h"

namespace velmora {

namespace {

// The weight of Tesseract's certainty in a character's doubt, and the pixels' own:
// more characters on a place of ink than it is wide enough for, and ink that no
// character stands on (fitted on the tuning typefaces of the OCR benchmark).
constexpr double doubtWeight = 0.3;
constexpr double overfullDoubt = 0.1;
constexpr double unreadInkDoubt = 0.05;

} // namespace

// How likely each character is to be read wrong, as a doubt that adds up over a range
// (its confidence is exp(-doubt)). Tesseract's certainty of a character tells how
// likely that character is wrong: below 0.99 a sizeable share are; each character
// adds its shortfall from that mark, so that a long token read with certainty keeps a
// high score and a few doubtful characters bring it below 0.8, where findings ask for
// a check. A place of ink holding more characters than it is wide enough for adds
// doubt to its last character, and ink that no character stands on to the character
// after it. Weights fitted on the tuning typefaces of the OCR benchmark.
QList<LineAssembler::CharacterDoubt> LineAssembler::characterDoubts(const Reading &reading)
{
    const QList<ReadCharacter> &characters = reading.characters;
    QList<CharacterDoubt> doubts;
    for (const ReadCharacter &character : characters)
        doubts.append({doubtWeight * line_reading::certaintyShortfall(character.confidence), 0});
    if (characters.isEmpty())
        return doubts;
    for (qsizetype j = 0; j < reading.places.size(); ++j) {
        qsizetype last = -1;
        int count = 0;
        for (qsizetype k = 0; k < characters.size(); ++k) {
            if (characters[k].place == j) {
                last = k;
                ++count;
            }
        }
        if (last >= 0) {
            doubts[last].ink += overfullDoubt * std::max(0, count - reading.places[j].capacity);
        } else if (!reading.places[j].isUnderscore) {
            const auto next = std::find_if(characters.begin(), characters.end(), [j](const ReadCharacter &c) { return c.place > j; });
            doubts[next == characters.end() ? characters.size() - 1 : std::distance(characters.begin(), next)].ink += unreadInkDoubt;
        }
    }
    return doubts;
}

} // namespace velmora
