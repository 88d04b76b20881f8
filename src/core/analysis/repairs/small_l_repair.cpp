#include "core/analysis/repairs/small_l_repair.h"

#include "core/analysis/repairs/address_repair.h"

#include <algorithm>

namespace velmora {

namespace {

const QString capitalI = QStringLiteral("I");

bool isLetter(const ReadCharacter &character)
{
    return character.text.size() == 1 && character.text.front().unicode() < 0x80 && character.text.front().isLetter();
}

bool isSmallLetter(const ReadCharacter &character)
{
    return isLetter(character) && character.text.front().isLower();
}

// Whether the run [first, last] reads as a key rather than words: a digit, or capitals
// other than I-strokes inside it; a run that holds an address is words whatever digits
// its name holds.
bool readsAsKey(const QList<ReadCharacter> &characters, qsizetype first, qsizetype last)
{
    bool digit = false;
    int innerCapitals = 0;
    bool address = false;
    for (qsizetype k = first; k <= last; ++k) {
        const QString &text = characters[k].text;
        if (text.size() != 1)
            continue;
        digit = digit || (text.front().unicode() < 0x80 && text.front().isDigit());
        innerCapitals += k > first && isLetter(characters[k]) && text.front().isUpper() && text != capitalI;
        address = address || (text == QLatin1String("@") && beginsAddressDomain(characters, k + 1, last));
    }
    return !address && (digit || innerCapitals >= 2);
}

// Letters that often begin the next part of a camel-case name after an "I" ("Id",
// "If", "In", "Is", "It", "Ip", "Item", "Image", "Icon", "Ignore", "Iron"), and the
// fewer that end one ("userId", "logIn", "clientIp", "onlyIf"); after an "l" they are
// rarer than vowels, and "ls", "lt", "lm" end many words ("tools", "result", "film").
bool beginsWordPart(QChar next, bool endsWord)
{
    static const QString starting = QStringLiteral("cdfgmnprst");
    static const QString ending = QStringLiteral("dfnp");
    return (endsWord ? ending : starting).contains(next);
}

void readWord(QList<ReadCharacter> &characters, qsizetype first, qsizetype last, int &replaced)
{
    // A capital inside the word other than an I-stroke: camel case or capitals.
    for (qsizetype k = first + 1; k <= last; ++k) {
        if (characters[k].text.front().isUpper() && characters[k].text != capitalI)
            return;
    }
    for (qsizetype k = first + 1; k <= last; ++k) {
        if (characters[k].text != capitalI)
            continue;
        const bool endsWord = k == last;
        const QChar next = endsWord ? QChar() : characters[k + 1].text.front();
        const bool smallNext = next.isLower() && !beginsWordPart(next, k + 1 == last);
        // After a small letter, or after the capital that begins a word of small letters
        // ("LIoyd"; "AI" and "IIoT" stay).
        const bool smallBefore = isSmallLetter(characters[k - 1]) || (k - 1 == first && smallNext);
        if (smallBefore && (endsWord || next == u'I' || smallNext)) {
            characters[k].text = QStringLiteral("l");
            ++replaced;
        }
    }
}

} // namespace

int readSmallLInWords(QList<ReadCharacter> &characters)
{
    int replaced = 0;
    forEachRun(characters, [&](qsizetype first, qsizetype last) {
        if (readsAsKey(characters, first, last))
            return;
        for (qsizetype start = first; start <= last;) {
            if (!isLetter(characters[start])) {
                ++start;
                continue;
            }
            qsizetype end = start;
            while (end + 1 <= last && isLetter(characters[end + 1]))
                ++end;
            readWord(characters, start, end, replaced);
            start = end + 1;
        }
    });
    return replaced;
}

int readCapitalIAmongCapitals(QList<ReadCharacter> &characters)
{
    const auto inName = [&characters](qsizetype k) {
        const QString &text = characters[k].text;
        return text.size() == 1 && (isAsciiLetterOrDigit(text.front()) || text.front() == u'_');
    };
    int replaced = 0;
    forEachRun(characters, [&](qsizetype first, qsizetype last) {
        for (qsizetype start = first; start <= last;) {
            if (!inName(start)) {
                ++start;
                continue;
            }
            qsizetype end = start;
            while (end + 1 <= last && inName(end + 1))
                ++end;
            int capitals = 0;
            bool otherSmallLetter = false;
            for (qsizetype k = start; k <= end; ++k) {
                const QChar c = characters[k].text.front();
                capitals += c.isUpper();
                otherSmallLetter = otherSmallLetter || (c.isLower() && c != u'l');
            }
            for (qsizetype k = start; k <= end && capitals >= 2 && !otherSmallLetter; ++k) {
                if (characters[k].text == QLatin1String("l")) {
                    characters[k].text = capitalI;
                    ++replaced;
                }
            }
            start = end + 1;
        }
    });
    return replaced;
}

} // namespace velmora
