#include "core/analysis/repairs/token_repair.h"

#include "core/analysis/repairs/address_repair.h"

#include <QRegularExpression>

#include <algorithm>

namespace velmora {

namespace {

// A run is a token when it is at least this long and this share of its other
// characters are token characters.
constexpr qsizetype shortestToken = 8;
constexpr double tokenShare = 0.8;
// Keys are at least this long; a run as long that ends with a bracket opened nowhere
// before it on its line is a key whose last character was read as a bracket.
constexpr qsizetype shortestKey = 16;
// Card and phone numbers are set in groups of at most this many digits.
constexpr qsizetype digitGroupLength = 4;

// The bracket that opens the run's closing bracket `c`, or the one that closes `c`.
QChar partner(QChar c)
{
    static const QString opening = QStringLiteral("([{");
    static const QString closing = QStringLiteral(")]}");
    if (const qsizetype at = opening.indexOf(c); at >= 0)
        return closing[at];
    if (const qsizetype at = closing.indexOf(c); at >= 0)
        return opening[at];
    return {};
}

// Whether the character at `k` is a closing bracket that no character before it opens.
bool closesNothing(const QList<ReadCharacter> &characters, qsizetype k)
{
    const QString &text = characters[k].text;
    static const QString closing = QStringLiteral(")]}");
    if (text.size() != 1 || !closing.contains(text.front()))
        return false;
    const QString opening(partner(text.front()));
    return std::none_of(characters.begin(), characters.begin() + k, [&opening](const ReadCharacter &character) {
        return character.text == opening;
    });
}

// Whether the "@" at `at` ends the user information of a URL ("scheme://user:password@"),
// whose host needs no dot ("redis://:secret@cache").
bool endsUserInformation(const QList<ReadCharacter> &characters, qsizetype first, qsizetype at)
{
    for (qsizetype j = at - 1; j >= first + 2; --j) {
        if (characters[j].text == QLatin1String("/"))
            return characters[j - 1].text == QLatin1String("/") && characters[j - 2].text == QLatin1String(":");
    }
    return false;
}

// Whether the run [first, last] may end in an "@" read for a key's last character: it
// holds no dot, as the names before an address's "@" often do, and Tesseract finds a
// letter or digit likely for its ink, or its choices are not known yet.
bool endsKeyWithAtSign(const QList<ReadCharacter> &characters, qsizetype first, qsizetype last)
{
    const ReadCharacter &end = characters[last];
    return end.text == QLatin1String("@") && (end.alternatives.isEmpty() || likelyLetterOrDigit(end).has_value())
        && std::none_of(characters.begin() + first, characters.begin() + last,
                        [](const ReadCharacter &character) { return character.text == QLatin1String("."); });
}

// A kind of key written in letters, digits, "_" and "-" from its fixed beginning on,
// and how long it is at least.
struct LetterKey
{
    QRegularExpression beginning;
    qsizetype shortest;
};

const QList<LetterKey> &letterKeys()
{
    static const QList<LetterKey> keys{
        {QRegularExpression(QStringLiteral("^[sr]k_(?:[lI1L]ive|test)_")), 24},
        {QRegularExpression(QStringLiteral("^gh[pousr]_")), 24},
        {QRegularExpression(QStringLiteral("^AIza")), 38},
        {QRegularExpression(QStringLiteral("^A[KS][Il1T]A")), 20},
        {QRegularExpression(QStringLiteral("^xox[abprs]-")), 30},
        {QRegularExpression(QStringLiteral("^sk-")), 23},
        {QRegularExpression(QStringLiteral("^customer_")), 17},
        {QRegularExpression(QStringLiteral("^acct_")), 13},
    };
    return keys;
}

// A character of such a key as read: a letter or digit of any script (one outside ASCII
// is a misread one), "_", or a dash or its look-alike.
bool isLetterKeyCharacter(const ReadCharacter &character)
{
    return character.text.size() == 1
        && (character.text.front().isLetterOrNumber() || character.text.front() == u'_' || isDashReading(character.text));
}

// Whether the mark at `k` of the run [first, last] stands inside a key written in
// letters and digits: the key begins before it, and only with the letters and digits
// after it is it as long as such a key is.
bool insideLetterKey(const QList<ReadCharacter> &characters, qsizetype first, qsizetype last, qsizetype k)
{
    if (isLetterKeyCharacter(characters[k]) || k == last || !isAsciiLetterOrDigit(characters[k + 1].text.front())
        || characters[k + 1].breakBefore)
        return false;
    qsizetype start = k;
    while (start > first && isLetterKeyCharacter(characters[start - 1]))
        --start;
    qsizetype end = k + 1;
    while (end <= last && isLetterKeyCharacter(characters[end]) && !characters[end].breakBefore)
        ++end;
    QString before;
    for (qsizetype j = start; j < k; ++j)
        before += characters[j].text;
    const qsizetype length = before.size() + (end - k - 1);
    return std::any_of(letterKeys().cbegin(), letterKeys().cend(), [&](const LetterKey &key) {
        return before.size() < key.shortest && length >= key.shortest && key.beginning.match(before).hasMatch();
    });
}

// Whether the characters [first, end) are a setting's name: capitals, digits (a capital
// may be read as one) and "_", with an "_" among them ("DB_PASSWORD").
bool isSettingsName(const QList<ReadCharacter> &characters, qsizetype first, qsizetype end)
{
    static constexpr qsizetype shortestName = 4;
    const auto ofName = [](const ReadCharacter &character) { return character.text == QLatin1String("_") || isCapitalOrDigit(character); };
    const auto has = [&](auto test) { return std::any_of(characters.begin() + first, characters.begin() + end, test); };
    return end - first >= shortestName && std::all_of(characters.begin() + first, characters.begin() + end, ofName)
        && has([](const ReadCharacter &character) { return character.text == QLatin1String("_"); })
        && has([](const ReadCharacter &character) { return character.text.front().isUpper(); });
}

// Whether the "<" or "#" at `k` of the run [first, last] stands for the "=" between a
// setting's name in capitals, at the run's beginning, and a key's value after it (small
// monospace text draws an "=" that closely); a short number after it ("TICKET_ID#4021")
// is no key.
bool standsForSettingsEquals(const QList<ReadCharacter> &characters, qsizetype first, qsizetype last, qsizetype k)
{
    const QString &text = characters[k].text;
    return (text == QLatin1String("<") || text == QLatin1String("#")) && last - k >= shortestToken && !characters[k + 1].breakBefore
        && isAsciiLetterOrDigit(characters[k + 1].text.front()) && isSettingsName(characters, first, k);
}

// Whether the character at `k` of the run [first, last] cannot stand there.
bool cannotStand(const QList<ReadCharacter> &characters, qsizetype first, qsizetype last, qsizetype k)
{
    const QString &text = characters[k].text;
    if (text.size() != 1)
        return false;
    if (insideLetterKey(characters, first, last, k) || standsForSettingsEquals(characters, first, last, k))
        return true;
    const QChar c = text.front();
    if (c.unicode() >= 0x80)
        return true;
    if (c == u'|' || c == u'!')
        return true;
    if (const QChar other = partner(c); !other.isNull()) {
        return std::none_of(characters.begin() + first, characters.begin() + last + 1,
                            [other](const ReadCharacter &character) { return character.text == QString(other); });
    }
    // An address's "@" is followed by its domain, up to what ends the address or the
    // line, and the "@" of a URL's user information by its host.
    if (c == u'@')
        return !beginsAddressDomain(characters, k + 1, last) && !(last == characters.size() - 1 && beginsDomainCutByLineEnd(characters, k + 1))
            && !endsUserInformation(characters, first, k);
    if (c == u'&') {
        // An "&" joins the parameters of a URL's query: after a "?" or an "=", and before
        // a parameter's name and its "=".
        const bool afterQueryOrValue = std::any_of(characters.begin(), characters.begin() + k, [](const ReadCharacter &character) {
            return character.text == QLatin1String("?") || character.text == QLatin1String("=");
        });
        const auto parameterEnd = std::find_if(characters.begin() + k + 1, characters.begin() + last + 1,
                                               [](const ReadCharacter &character) { return character.text == QLatin1String("&"); });
        const bool beforeParameter = std::any_of(characters.begin() + k + 1, parameterEnd,
                                                 [](const ReadCharacter &character) { return character.text == QLatin1String("="); });
        return !(afterQueryOrValue && beforeParameter);
    }
    return false;
}

// Words, names and compounds of any language are no tokens: a token holds a digit, or
// capitals inside it, as random keys and identifiers do.
bool looksRandom(const QList<ReadCharacter> &characters, qsizetype first, qsizetype last)
{
    int innerCapitals = 0;
    for (qsizetype k = first; k <= last; ++k) {
        const QString &text = characters[k].text;
        if (text.size() != 1 || text.front().unicode() >= 0x80)
            continue;
        if (text.front().isDigit())
            return true;
        innerCapitals += k > first && text.front().isUpper();
    }
    return innerCapitals >= 2;
}

// The characters of the run [first, last] that cannot stand where they are, if the run
// reads as a token.
QList<qsizetype> strays(const QList<ReadCharacter> &characters, qsizetype first, qsizetype last)
{
    QList<qsizetype> result;
    if (last - first + 1 < shortestToken || !looksRandom(characters, first, last))
        return result;
    const qsizetype tokenCharacters = std::count_if(characters.begin() + first, characters.begin() + last + 1,
                                                    [](const ReadCharacter &character) { return isTokenCharacter(character.text); });
    for (qsizetype k = first + 1; k <= last; ++k) {
        // The last character may close the token (a quote, a bracket), unless it is a
        // bar, a mark or a letter outside ASCII that no token ends with either, or a
        // bracket or an "@" that ends a key.
        const QString &end = characters[k].text;
        const bool foreignLetter = end.size() == 1 && end.front().isLetter() && end.front().unicode() >= 0x80;
        if (k == last && end != QLatin1String("|") && end != QLatin1String("!") && !foreignLetter
            && !(last - first + 1 >= shortestKey && (closesNothing(characters, k) || endsKeyWithAtSign(characters, first, k))))
            continue;
        const qsizetype others = last - first;
        const qsizetype tokenOthers = tokenCharacters - (isTokenCharacter(characters[k].text) ? 1 : 0);
        if (double(tokenOthers) >= tokenShare * double(others) && cannotStand(characters, first, last, k))
            result.append(k);
    }
    return result;
}

// The digit that a mark standing where a token cannot hold it is taken for when Tesseract
// offers no letter or digit for its ink, if any.
QString fallbackDigit(const QString &text)
{
    if (text == QLatin1String("@"))
        return QStringLiteral("0");
    if (text == QLatin1String("&"))
        return QStringLiteral("8");
    return {};
}

// Mends the strays of the run [first, last]; `choicesKnown`: the line was read with
// Tesseract's other choices.
void repairRun(QList<ReadCharacter> &characters, qsizetype first, qsizetype last, bool choicesKnown, int &replaced)
{
    const QList<qsizetype> found = strays(characters, first, last);
    for (auto at = found.crbegin(); at != found.crend(); ++at) {
        const qsizetype k = *at;
        if (standsForSettingsEquals(characters, first, last, k)) {
            characters[k].text = QStringLiteral("=");
            ++replaced;
            continue;
        }
        const auto choice = std::find_if(characters[k].alternatives.cbegin(), characters[k].alternatives.cend(),
                                         [](const SymbolChoice &alternative) {
                                             return alternative.text.size() == 1 && isAsciiLetterOrDigit(alternative.text.front());
                                         });
        // Where Tesseract offers nothing else, an "@" that no address holds is a zero with
        // a dot inside, and an "&" that joins nothing an 8; at the run's end, where a
        // wrapped address's domain may follow on the next line, only Tesseract's choice is
        // taken.
        const QString lookAlike = k < last ? fallbackDigit(characters[k].text) : QString();
        // A mark inside a key of letters and digits for which Tesseract finds no letter
        // or digit is a piece of a glyph beside it (the foot of an "L" read "l."), whose
        // ink the glyph's box takes over.
        if (choice == characters[k].alternatives.cend() && lookAlike.isEmpty() && choicesKnown && insideLetterKey(characters, first, last, k)) {
            characters.removeAt(k);
            --last;
            ++replaced;
            continue;
        }
        if (choice == characters[k].alternatives.cend() && lookAlike.isEmpty())
            continue;
        characters[k].text = choice != characters[k].alternatives.cend() ? choice->text : lookAlike;
        ++replaced;
    }
}

// Marks that join the parts of tokens, addresses and URLs.
bool isJoiningMark(const QString &text)
{
    static const QString marks = QStringLiteral("-_./=");
    return text.size() == 1 && marks.contains(text.front());
}

bool isUrlCharacter(const QString &text)
{
    static const QString marks = QStringLiteral(":?&%#~!");
    return isTokenCharacter(text) || (text.size() == 1 && marks.contains(text.front()));
}

// Whether the run [first, last] reads as part of a token: a digit, inner capitals, or a
// joining mark between its ends.
bool isTokenPart(const QList<ReadCharacter> &characters, qsizetype first, qsizetype last)
{
    for (qsizetype k = first + 1; k < last; ++k) {
        if (isJoiningMark(characters[k].text))
            return true;
    }
    return looksRandom(characters, first, last);
}

// Whether the character may stand at the end of a token's part: a character of URLs, or
// a mark that Tesseract finds likely to be a letter or digit.
bool mayEndTokenPart(const ReadCharacter &character)
{
    return isUrlCharacter(character.text) || likelyLetterOrDigit(character).has_value();
}

// Whether the run [middle, last], the line's last, goes on with the value of a setting
// whose name and "=" begin the run [first, middle - 1]: a value unquoted runs to the
// line's end (a comment apart), so a break that a narrow glyph's bearings may explain
// is none.
bool continuesSettingsValue(const QList<ReadCharacter> &characters, qsizetype first, qsizetype middle, qsizetype last)
{
    static constexpr qsizetype shortestValue = 6;
    const auto equals = std::find_if(characters.begin() + first, characters.begin() + middle,
                                     [](const ReadCharacter &character) { return character.text == QLatin1String("="); });
    const qsizetype at = equals - characters.begin();
    return last == characters.size() - 1 && at < middle && middle - at - 1 >= shortestValue && isSettingsName(characters, first, at);
}

// Whether the runs [first, middle - 1] and [middle, last] are the parts of one token.
bool arePartsOfOneToken(const QList<ReadCharacter> &characters, qsizetype first, qsizetype middle, qsizetype last)
{
    if (last - first + 1 < shortestToken || !looksRandom(characters, first, last))
        return false;
    const qsizetype urlCharacters = std::count_if(characters.begin() + first, characters.begin() + last + 1,
                                                  [](const ReadCharacter &character) { return isUrlCharacter(character.text); });
    if (double(urlCharacters) < tokenShare * double(last - first + 1))
        return false;
    // Groups of a few digits are set apart on purpose (cards, phone numbers).
    const auto digitGroup = [&characters](qsizetype from, qsizetype to) {
        const auto isDigit = [](const ReadCharacter &character) { return character.text.size() == 1 && character.text.front().isDigit(); };
        return to - from + 1 <= digitGroupLength && std::all_of(characters.begin() + from, characters.begin() + to + 1, isDigit);
    };
    if (digitGroup(first, middle - 1) || digitGroup(middle, last))
        return false;
    const bool leftPart = isTokenPart(characters, first, middle - 1);
    const bool rightPart = isTokenPart(characters, middle, last);
    const QString &leftEnd = characters[middle - 1].text;
    const QString &rightStart = characters[middle].text;
    if (!mayEndTokenPart(characters[middle - 1]) || !mayEndTokenPart(characters[middle]))
        return false;
    return (leftPart && rightPart) || (isJoiningMark(leftEnd) && rightPart) || (isJoiningMark(rightStart) && leftPart)
        || (leftEnd == QLatin1String(":") && rightStart == QLatin1String("/")) || continuesSettingsValue(characters, first, middle, last);
}

} // namespace

bool isAsciiLetterOrDigit(QChar c)
{
    return c.unicode() < 0x80 && c.isLetterOrNumber();
}

bool isCapitalOrDigit(const ReadCharacter &character)
{
    return character.text.size() == 1 && isAsciiLetterOrDigit(character.text.front()) && !character.text.front().isLower();
}

bool isTokenCharacter(QChar c)
{
    static const QString marks = QStringLiteral("_-+/=.");
    return isAsciiLetterOrDigit(c) || marks.contains(c);
}

bool isTokenCharacter(const QString &text)
{
    return text.size() == 1 && isTokenCharacter(text.front());
}

std::optional<QString> likelyLetterOrDigit(const ReadCharacter &character)
{
    const auto choice = std::find_if(character.alternatives.cbegin(), character.alternatives.cend(), [](const SymbolChoice &alternative) {
        return alternative.text.size() == 1 && isAsciiLetterOrDigit(alternative.text.front());
    });
    if (choice == character.alternatives.cend() || choice->confidence < likelyChoice)
        return std::nullopt;
    return choice->text;
}

bool isDashReading(const QString &text)
{
    return text.size() == 1 && dashReadings.contains(text.front());
}

int joinSplitTokens(QList<ReadCharacter> &characters)
{
    int joined = 0;
    qsizetype first = 0;
    for (qsizetype k = 1; k < characters.size(); ++k) {
        if (!characters[k].breakBefore)
            continue;
        qsizetype last = k;
        while (last + 1 < characters.size() && !characters[last + 1].breakBefore)
            ++last;
        if (characters[k].looseBreak && arePartsOfOneToken(characters, first, k, last)) {
            characters[k].breakBefore = false;
            ++joined;
        } else {
            first = k;
        }
    }
    return joined;
}

int repairTokenRuns(QList<ReadCharacter> &characters)
{
    int replaced = 0;
    const bool choicesKnown = std::any_of(characters.cbegin(), characters.cend(),
                                          [](const ReadCharacter &character) { return !character.alternatives.isEmpty(); });
    // From the last run back, as a run may lose a character.
    QList<std::pair<qsizetype, qsizetype>> runs;
    forEachRun(characters, [&runs](qsizetype first, qsizetype last) { runs.append({first, last}); });
    for (auto run = runs.crbegin(); run != runs.crend(); ++run)
        repairRun(characters, run->first, run->second, choicesKnown, replaced);
    return replaced;
}

bool holdsStrayTokenCharacter(const QList<ReadCharacter> &characters)
{
    bool found = false;
    forEachRun(characters, [&](qsizetype first, qsizetype last) { found = found || !strays(characters, first, last).isEmpty(); });
    return found;
}

} // namespace velmora
