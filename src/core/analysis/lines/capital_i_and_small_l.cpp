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
void LineAssembler::tellCapitalIFromSmallL(QList<Item> &items, const QList<Place> &places)
{
    static const QString flatCapitals = QStringLiteral("ABDEFHKLMNPRTUVWXYZ");
    static const QString ascenderLetters = QStringLiteral("bdhk");
    const auto alone = [&items](qsizetype k) {
        return std::count_if(items.begin(), items.end(), [&](const Item &item) { return item.place == items[k].place; }) == 1;
    };
    QList<int> capitals, ascenders;
    for (qsizetype k = 0; k < items.size(); ++k) {
        const Item &item = items[k];
        if (item.text.size() != 1 || places[item.place].isUnderscore || item.confidence < line_reading::doubtfulCharacter || !alone(k))
            continue;
        if (flatCapitals.contains(item.text.front()))
            capitals.append(places[item.place].height);
        else if (ascenderLetters.contains(item.text.front()))
            ascenders.append(places[item.place].height);
    }
    if (capitals.isEmpty() || ascenders.isEmpty())
        return;
    const double capital = upperMedian(std::move(capitals));
    const double ascender = upperMedian(std::move(ascenders));
    if (ascender - capital < leastHeightDifference)
        return;
    for (qsizetype k = 0; k < items.size(); ++k) {
        Item &item = items[k];
        if ((item.text != QLatin1String("I") && item.text != QLatin1String("l")) || places[item.place].isUnderscore || !alone(k))
            continue;
        const double height = places[item.place].height;
        item.text = std::abs(height - capital) < std::abs(height - ascender) ? QStringLiteral("I") : QStringLiteral("l");
    }
}

} // namespace velmora
