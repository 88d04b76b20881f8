#include "core/analysis/repairs/card_number_repair.h"

#include "core/analysis/repairs/token_repair.h"
#include "core/analysis/rules/sensitive_text_validators.h"

#include <algorithm>
#include <optional>

namespace velmora {

namespace {

// The digits of a number set in a card's groups, and the marks between its groups.
struct GroupedNumber
{
    QList<qsizetype> digits;
    QList<qsizetype> dashes;
};

bool isLetterOrDigit(const ReadCharacter &character)
{
    return character.text.size() == 1 && isAsciiLetterOrDigit(character.text.front());
}

bool isDigit(const ReadCharacter &character)
{
    return isLetterOrDigit(character) && character.text.front().isDigit();
}

// Whether groups of these lengths are how cards are set: three groups of four and one
// of one to seven, or four, six and five.
bool isCardGrouping(const QList<qsizetype> &groups)
{
    if (groups == QList<qsizetype>{4, 6, 5})
        return true;
    return groups.size() == 4 && groups[0] == 4 && groups[1] == 4 && groups[2] == 4 && groups[3] >= 1 && groups[3] <= 7;
}

// The number in a card's groups that begins at `start`, if one does and nothing of a
// word stands right before or after it; `next` is set past what was looked at.
std::optional<GroupedNumber> groupedNumberAt(const QList<ReadCharacter> &characters, qsizetype start, qsizetype &next)
{
    GroupedNumber number;
    QList<qsizetype> groups;
    qsizetype k = start;
    while (true) {
        const qsizetype groupStart = k;
        while (k < characters.size() && isDigit(characters[k]) && (k == groupStart || !characters[k].breakBefore))
            number.digits.append(k++);
        groups.append(k - groupStart);
        // All the groups are parted by spaces, or all by dashes between digits.
        const bool space = k < characters.size() && characters[k].breakBefore && isDigit(characters[k]);
        const bool dash = k + 1 < characters.size() && !characters[k].breakBefore && isDashReading(characters[k].text)
            && !characters[k + 1].breakBefore && isDigit(characters[k + 1]);
        if (space && number.dashes.isEmpty())
            continue;
        if (dash && number.dashes.size() == groups.size() - 1) {
            number.dashes.append(k++);
            continue;
        }
        break;
    }
    next = k;
    const bool endsWord = k == characters.size() || characters[k].breakBefore || !isLetterOrDigit(characters[k]);
    if (!endsWord || !isCardGrouping(groups))
        return std::nullopt;
    return number;
}

// Each number in a card's groups on the line.
template<typename Visit>
void forEachGroupedNumber(const QList<ReadCharacter> &characters, Visit visit)
{
    for (qsizetype k = 0; k < characters.size();) {
        const bool startsWord = k == 0 || characters[k].breakBefore
            || !(isLetterOrDigit(characters[k - 1]) || isDashReading(characters[k - 1].text));
        if (!isDigit(characters[k]) || !startsWord) {
            ++k;
            continue;
        }
        qsizetype next = k + 1;
        if (const std::optional<GroupedNumber> number = groupedNumberAt(characters, k, next))
            visit(*number);
        k = std::max(next, k + 1);
    }
}

QList<int> digitValues(const QList<ReadCharacter> &characters, const GroupedNumber &number)
{
    QList<int> values;
    for (const qsizetype k : number.digits)
        values.append(characters[k].text.front().digitValue());
    return values;
}

// Tesseract's other choice for a digit is weighed against the check digit only where
// it is nearly as likely as the digit read: a number in a card's groups that fails its
// check may be no card at all, and a less likely choice would make it one.
constexpr double closeChoice = 0.75;

// Takes the one close other choice for a digit that makes the number pass its check
// digit; none where no choice or several do.
int mendCheckDigit(QList<ReadCharacter> &characters, const GroupedNumber &number)
{
    QList<int> values = digitValues(characters, number);
    if (sensitive_text::passesCardCheck(values))
        return 0;
    std::optional<QPair<qsizetype, QString>> mend;
    for (qsizetype d = 0; d < number.digits.size(); ++d) {
        const ReadCharacter &digit = characters[number.digits[d]];
        for (const SymbolChoice &choice : digit.alternatives) {
            if (choice.confidence < std::max(likelyChoice, closeChoice * digit.confidence) || choice.text.size() != 1
                || !choice.text.front().isDigit())
                continue;
            const int read = values[d];
            values[d] = choice.text.front().digitValue();
            const bool passes = sensitive_text::passesCardCheck(values);
            values[d] = read;
            if (passes && mend)
                return 0;
            if (passes)
                mend = {number.digits[d], choice.text};
        }
    }
    if (!mend)
        return 0;
    characters[mend->first].text = mend->second;
    return 1;
}

} // namespace

int repairCardNumbers(QList<ReadCharacter> &characters)
{
    int replaced = 0;
    forEachGroupedNumber(characters, [&](const GroupedNumber &number) {
        for (const qsizetype k : number.dashes) {
            if (characters[k].text != QLatin1String("-")) {
                characters[k].text = QStringLiteral("-");
                ++replaced;
            }
        }
        replaced += mendCheckDigit(characters, number);
    });
    return replaced;
}

bool holdsCardFailingItsCheck(const QList<ReadCharacter> &characters)
{
    bool failing = false;
    forEachGroupedNumber(characters, [&](const GroupedNumber &number) {
        failing = failing || !sensitive_text::passesCardCheck(digitValues(characters, number));
    });
    return failing;
}

} // namespace velmora
