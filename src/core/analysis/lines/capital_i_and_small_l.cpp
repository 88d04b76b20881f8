#include "core/analysis/lines/line_assembler_parts.h"
#include "core/support/upper_median.h"

namespace velmora {

namespace {

// Capitals and ascenders this many pixels apart in height tell I from l.
constexpr double leastHeightDifference = 1.0;

} // namespace

// Capital I and small l are one stroke each; where the typeface sets its capitals
// lower than its ascenders, the stroke's height tells them apart. The line's capital
// and ascender heights are measured on the glyphs Tesseract is sure of.
void LineAssembler::tellCapitalIFromSmallL(Reading &reading)
{
    static const QString flatCapitals = QStringLiteral("ABDEFHKLMNPRTUVWXYZ");
    static const QString ascenderLetters = QStringLiteral("bdhk");
    QList<ReadCharacter> &characters = reading.characters;
    const QList<Place> &places = reading.places;
    const auto alone = [&characters](qsizetype k) {
        return std::count_if(characters.begin(), characters.end(), [&](const ReadCharacter &c) { return c.place == characters[k].place; }) == 1;
    };
    QList<int> capitals, ascenders;
    for (qsizetype k = 0; k < characters.size(); ++k) {
        const ReadCharacter &character = characters[k];
        if (character.text.size() != 1 || places[character.place].isUnderscore || character.confidence < line_reading::doubtfulCharacter
            || !alone(k))
            continue;
        if (flatCapitals.contains(character.text.front()))
            capitals.append(places[character.place].height);
        else if (ascenderLetters.contains(character.text.front()))
            ascenders.append(places[character.place].height);
    }
    if (capitals.isEmpty() || ascenders.isEmpty())
        return;
    const double capital = upperMedian(std::move(capitals));
    const double ascender = upperMedian(std::move(ascenders));
    if (ascender - capital < leastHeightDifference)
        return;
    for (qsizetype k = 0; k < characters.size(); ++k) {
        ReadCharacter &character = characters[k];
        if ((character.text != QLatin1String("I") && character.text != QLatin1String("l")) || places[character.place].isUnderscore || !alone(k))
            continue;
        const double height = places[character.place].height;
        character.text = std::abs(height - capital) < std::abs(height - ascender) ? QStringLiteral("I") : QStringLiteral("l");
    }
}

} // namespace velmora
