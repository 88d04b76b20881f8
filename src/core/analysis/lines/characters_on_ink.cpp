#include "core/analysis/lines/line_assembler_parts.h"
#include "core/support/upper_median.h"

// Pass 3 of LineAssembler: which characters stand on ink. Tesseract reads characters
// where there is no ink, reads some twice and invents marks at the ends of lines; a
// stroke it does not read at all is an underscore, and a dot between glyphs of a
// monospace line a full stop.

namespace velmora {

using line_reading::underscore;

namespace {

// A piece of a glyph read as a character of its own is read at most this wide, and
// nearer the glyph's reading than the next cell's, in cells.
constexpr double pieceWidth = 0.6;
constexpr double pieceDistance = 0.8;

} // namespace

// The characters that stand on ink, with a word start carried over dropped ones; one on
// an underscore's stroke is an underscore, whatever Tesseract read.
void LineAssembler::dropCharactersOnNoInk(Reading &reading)
{
    QList<ReadCharacter> kept;
    bool startsWord = false;
    for (ReadCharacter &character : reading.characters) {
        startsWord = startsWord || character.startsWord;
        if (character.place < 0)
            continue;
        if (reading.places[character.place].isUnderscore) {
            character.text = underscore;
            character.alternatives.clear();
        }
        character.startsWord = startsWord;
        kept.append(std::move(character));
        startsWord = false;
    }
    reading.characters = std::move(kept);
}

// Tesseract sometimes reads the first letter of a word twice, once doubtfully: the same
// letter twice on ink wide enough for one is one letter.
void LineAssembler::dropDoubledFirstLetters(Reading &reading)
{
    QList<ReadCharacter> &characters = reading.characters;
    for (qsizetype k = 0; k + 1 < characters.size(); ++k) {
        ReadCharacter &doubled = characters[k];
        ReadCharacter &next = characters[k + 1];
        if (doubled.place == next.place && doubled.text == next.text && reading.places[doubled.place].capacity < 2
            && std::min(doubled.confidence, next.confidence) < line_reading::doubtfulCharacter) {
            next.startsWord = next.startsWord || doubled.startsWord;
            next.confidence = std::max(next.confidence, doubled.confidence);
            characters.removeAt(k);
        }
    }
}

// In a monospace line a place of ink one cell wide holds one glyph: two readings of it
// over the same columns (each over at least half the other) that are one letter in
// both cases or look-alikes are that glyph read twice (the "l" beside an underscore read
// "lL", its stem and the stroke below it; "Ww", "0O"), and the likelier reading stays,
// as doubtful as the other.
// Two other letters read side by side may be glyphs that touch, where a line's grid
// was found by chance ("pp", "po"). On a grid that many glyphs make sure of, a reading
// that is narrow and less certain than the one beside it, where both stand on the ink
// of one glyph, is a piece of that glyph read on its own (the serif of a thin "A" read
// "TA", the end of an "F"'s arm read "F'").
void LineAssembler::dropSecondReadingsOfACell(Reading &reading) const
{
    if (!m_grid)
        return;
    // A glyph cut off by the line's end is no whole glyph to measure against.
    const auto whole = [&](const ReadCharacter &character) {
        return !reading.places[character.place].isUnderscore && !atCut(reading, character, false) && !atCut(reading, character, true);
    };
    const auto oneGlyph = [&](const ReadCharacter &first, const ReadCharacter &second) {
        const ColumnSpan &a = reading.places[first.place].strong;
        const ColumnSpan &b = reading.places[second.place].strong;
        if (!whole(first) || !whole(second))
            return false;
        return first.place == second.place ? a.width() < 1.5 * m_cellPitch : std::max(a.right, b.right) - std::min(a.left, b.left) < m_cellPitch;
    };
    const auto pieceOf = [&](const ReadCharacter &piece, const ReadCharacter &glyph) {
        const double apart = std::abs((piece.left + piece.right) - (glyph.left + glyph.right)) / 2;
        return m_cellPitch > 0 && piece.right - piece.left <= pieceWidth * m_cellPitch && apart < pieceDistance * m_cellPitch
            && piece.confidence < glyph.confidence && oneGlyph(piece, glyph);
    };
    static const QStringList lookAlikes{QStringLiteral("lI1L"), QStringLiteral("oO0"), QStringLiteral("sS5"), QStringLiteral("zZ2")};
    const auto readAlike = [](const ReadCharacter &first, const ReadCharacter &second) {
        if (first.text.size() != 1 || second.text.size() != 1 || first.text == second.text)
            return false;
        const QChar a = first.text.front();
        const QChar b = second.text.front();
        return (a.isLetter() && a.toLower() == b.toLower())
            || std::any_of(lookAlikes.cbegin(), lookAlikes.cend(), [&](const QString &set) { return set.contains(a) && set.contains(b); });
    };
    QList<ReadCharacter> &characters = reading.characters;
    for (qsizetype k = 0; k + 1 < characters.size(); ++k) {
        const ReadCharacter &first = characters[k];
        const ReadCharacter &second = characters[k + 1];
        if (pieceOf(first, second)) {
            characters[k + 1].startsWord = second.startsWord || first.startsWord;
            characters.removeAt(k);
            continue;
        }
        if (pieceOf(second, first)) {
            characters.removeAt(k + 1);
            continue;
        }
        // The readings are measured on the place's ink, which a box may reach past; the
        // room a touching underscore adds to a place is no room for a second letter.
        if (first.place != second.place || reading.places[first.place].cells > 1 || !readAlike(first, second))
            continue;
        const ColumnSpan &ink = reading.places[first.place].strong;
        const auto onInk = [&ink](const ReadCharacter &character) {
            return std::pair{std::max(character.left, double(ink.left)), std::min(character.right, double(ink.right + 1))};
        };
        const auto [firstLeft, firstRight] = onInk(first);
        const auto [secondLeft, secondRight] = onInk(second);
        const double overlap = std::min(firstRight, secondRight) - std::max(firstLeft, secondLeft);
        if (overlap < 0.5 * std::min(firstRight - firstLeft, secondRight - secondLeft))
            continue;
        // Two answers for one glyph leave the doubt of the less certain.
        const double confidence = std::min(first.confidence, second.confidence);
        if (second.confidence > first.confidence) {
            characters[k + 1].startsWord = second.startsWord || first.startsWord;
            characters.removeAt(k);
        } else {
            characters.removeAt(k + 1);
        }
        characters[k].confidence = confidence;
    }
}

// Tesseract invents marks at the ends of lines, never sure of them: one that shares the
// ink of the glyph beside it, wide enough for that glyph alone, has no ink of its own;
// nor has an underscore on a flat stroke inside that glyph (the foot of a "g").
void LineAssembler::dropInventedEndMarks(Reading &reading)
{
    QList<ReadCharacter> &characters = reading.characters;
    const auto invented = [&](qsizetype end, qsizetype beside) {
        const ReadCharacter &character = characters[end];
        const Place &place = reading.places[character.place];
        const bool withBar = place.bar.width() > 0;
        const bool barInside = withBar && place.bar.left > place.strong.left && place.bar.right < place.strong.right;
        return character.text.size() == 1 && !character.text.front().isLetterOrNumber() && character.place == characters[beside].place
            && place.capacity - (withBar ? 1 : 0) < 2 && (character.text != underscore || barInside)
            && character.confidence < line_reading::doubtfulCharacter;
    };
    if (characters.size() > 1 && invented(characters.size() - 1, characters.size() - 2))
        characters.removeLast();
    if (characters.size() > 1 && invented(0, 1)) {
        characters[1].startsWord = characters[1].startsWord || characters[0].startsWord;
        characters.removeFirst();
    }
}

// Whether a character's ink reaches the end of the line where it is cut off.
bool LineAssembler::atCut(const Reading &reading, const ReadCharacter &character, bool atRight) const
{
    const ColumnSpan &ink = reading.places[character.place].strong;
    return atRight ? m_cut.atEnd() && ink.right >= m_ink.band().right() - 1 : m_cut.atStart() && ink.left <= m_ink.band().left() + 1;
}

// Where the line is cut off, its glyph at the cut may be a sliver, read as a mark that
// is not there or as a letter it is not. A mark there is dropped, its ink going to the
// character beside it; a letter's ink is covered by that character too (coverInkAtCuts),
// so that a value running on past the cut is covered up to it.
void LineAssembler::dropMarksAtCuts(Reading &reading) const
{
    QList<ReadCharacter> &characters = reading.characters;
    if (characters.size() > 1 && atCut(reading, characters.last(), true) && line_reading::isSmallMark(characters.last().text))
        characters.removeLast();
    if (characters.size() > 1 && atCut(reading, characters.first(), false) && line_reading::isSmallMark(characters.first().text)) {
        characters[1].startsWord = characters[1].startsWord || characters[0].startsWord;
        characters.removeFirst();
    }
}

// Underscore strokes that no character stands on are underscores: one, or in a
// monospace line one for each cell the stroke spans.
void LineAssembler::readStrokesAsUnderscores(Reading &reading) const
{
    for (qsizetype j = 0; j < reading.places.size(); ++j) {
        const Place &place = reading.places[j];
        if (!place.isUnderscore || reading.standsOn(j))
            continue;
        const int count = m_grid ? std::max(1, int(std::lround(place.strong.width() / m_grid->pitch))) : 1;
        reading.characters.insert(reading.after(j), count, ReadCharacter{underscore, {}, false, false, 1.0, false, int(j), 0, 0});
    }
}

// In a monospace line a dot on the baseline, alone in its cell between two cells of
// glyphs, that no character stands on is a full stop Tesseract left out (the first dot
// of "649.973.9928" read "649973.9928"). A dot that shares its cell with other ink is a
// piece of a glyph (the foot of a serif "A").
void LineAssembler::readDotsAsFullStops(Reading &reading) const
{
    if (!m_grid || m_ink.segments().isEmpty())
        return;
    QList<int> bottoms;
    for (const InkSegment &segment : m_ink.segments())
        bottoms.append(segment.bottom);
    const int baseline = upperMedian(std::move(bottoms));
    const double dot = m_typography.heights(line_reading::dotHeight);
    const auto glyphInCell = [&reading](const ReadCharacter &character, int cell) {
        const Place &place = reading.places[character.place];
        return !place.isUnderscore && character.text.size() == 1 && character.text.front().isLetterOrNumber() && place.firstCell <= cell
            && cell < place.firstCell + place.cells;
    };
    for (qsizetype j = 0; j < reading.places.size(); ++j) {
        const Place &place = reading.places[j];
        if (place.isUnderscore || place.cells > 1 || place.height > dot || place.strong.width() > dot || std::abs(place.bottom - baseline) > 1
            || reading.standsOn(j))
            continue;
        const bool aloneInCell = std::none_of(reading.places.cbegin(), reading.places.cend(), [&](const Place &other) {
            return &other != &place && !other.isUnderscore && other.firstCell < place.firstCell + place.cells
                && place.firstCell < other.firstCell + other.cells;
        });
        const auto next = reading.after(j);
        if (!aloneInCell || next == reading.characters.begin() || next == reading.characters.end() || !glyphInCell(*(next - 1), place.firstCell - 1)
            || !glyphInCell(*next, place.firstCell + 1))
            continue;
        reading.characters.insert(next, ReadCharacter{QStringLiteral("."), {}, false, false, 1.0, false, int(j), 0, 0});
    }
}

} // namespace velmora
