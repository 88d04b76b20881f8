#include "core/analysis/repairs/address_repair.h"

#include <algorithm>

namespace velmora {

namespace {

// Top-level domains are at most this many letters long.
constexpr qsizetype longestTopLevelDomain = 13;
// Tesseract reads an "@" as a look-alike ("G", "f") with less certainty than this,
// while it is nearly always right about a character it is this certain of.
constexpr double sureReading = 0.99;

const QString atSign = QStringLiteral("@");

bool isLetterOrDigit(const QString &text)
{
    return text.size() == 1 && isAsciiLetterOrDigit(text.front());
}

bool isDomainCharacter(const QString &text)
{
    return isLetterOrDigit(text) || text == QLatin1String(".") || text == QLatin1String("-");
}

bool holdsAtSign(const QList<ReadCharacter> &characters, qsizetype first, qsizetype last)
{
    return std::any_of(characters.begin() + first, characters.begin() + last + 1,
                       [](const ReadCharacter &character) { return character.text == atSign; });
}

// Whether the character at `k` is a hyphen of a domain read as one of its look-alikes
// ("acme~corp.com"): no domain holds those, and a hyphen stands between letters or digits.
bool isMisreadHyphen(const QList<ReadCharacter> &characters, qsizetype k, qsizetype last)
{
    return k > 0 && k < last && characters[k].text != QLatin1String("-") && isDashReading(characters[k].text)
        && isLetterOrDigit(characters[k - 1].text) && isLetterOrDigit(characters[k + 1].text);
}

// Where the domain that begins at `from` ends: past its last letter, digit, dot or hyphen.
qsizetype domainEnd(const QList<ReadCharacter> &characters, qsizetype from, qsizetype last)
{
    qsizetype end = from;
    while (end <= last && (isDomainCharacter(characters[end].text) || isMisreadHyphen(characters, end, last)))
        ++end;
    return end;
}

// The domain of an address that begins at `from` (see beginsAddressDomain), or nothing.
QString addressDomainAt(const QList<ReadCharacter> &characters, qsizetype from, qsizetype last)
{
    const qsizetype end = domainEnd(characters, from, last);
    QString domain;
    for (qsizetype j = from; j < end; ++j)
        domain += isMisreadHyphen(characters, j, last) ? QStringLiteral("-") : characters[j].text;
    // A sentence's full stop or a dash may follow the address.
    while (domain.endsWith(u'.') || domain.endsWith(u'-'))
        domain.chop(1);
    const qsizetype dot = domain.lastIndexOf(u'.');
    const QStringView topLevel = QStringView(domain).mid(dot + 1);
    // A top-level domain is written in small letters or in capitals, never in both.
    const auto letters = [&topLevel](bool capitals) {
        return std::all_of(topLevel.begin(), topLevel.end(), [capitals](QChar c) {
            return c.unicode() < 0x80 && (capitals ? c.isUpper() : c.isLower());
        });
    };
    if (dot <= 0 || topLevel.size() < 2 || topLevel.size() > longestTopLevelDomain || !(letters(false) || letters(true)))
        return {};
    if (end > last)
        return domain;
    const QString &closing = characters[end].text;
    const bool closes = !isTokenCharacter(closing) || closing == QLatin1String("/") || (closing == QLatin1String("_") && end == last);
    return closes ? domain : QString();
}

// Whether the domain ends in one of the top-level domains most addresses have.
bool hasCommonTopLevelDomain(const QString &domain)
{
    static const QStringList common{
        QStringLiteral("com"), QStringLiteral("org"), QStringLiteral("net"), QStringLiteral("edu"), QStringLiteral("gov"),
        QStringLiteral("io"), QStringLiteral("co"), QStringLiteral("ai"), QStringLiteral("app"), QStringLiteral("dev"),
        QStringLiteral("me"), QStringLiteral("info"), QStringLiteral("biz"), QStringLiteral("us"), QStringLiteral("uk"),
        QStringLiteral("de"), QStringLiteral("fr"), QStringLiteral("es"), QStringLiteral("it"), QStringLiteral("nl"),
        QStringLiteral("be"), QStringLiteral("ch"), QStringLiteral("at"), QStringLiteral("se"), QStringLiteral("no"),
        QStringLiteral("dk"), QStringLiteral("fi"), QStringLiteral("pl"), QStringLiteral("cz"), QStringLiteral("pt"),
        QStringLiteral("ie"), QStringLiteral("ru"), QStringLiteral("jp"), QStringLiteral("cn"), QStringLiteral("kr"),
        QStringLiteral("in"), QStringLiteral("au"), QStringLiteral("nz"), QStringLiteral("ca"), QStringLiteral("br"),
        QStringLiteral("mx"), QStringLiteral("za"), QStringLiteral("sg"), QStringLiteral("local"), QStringLiteral("internal")};
    return common.contains(domain.mid(domain.lastIndexOf(u'.') + 1), Qt::CaseInsensitive);
}

// The characters of the run [first, last] that may be its address's "@" read as a
// look-alike: not sure, after a letter or digit that ends a local part, before a domain
// with a common top-level domain (code is full of "name.member" runs; weighing
// Tesseract's other choices for each of them would cost a third more time).
QList<qsizetype> atSignCandidates(const QList<ReadCharacter> &characters, qsizetype first, qsizetype last)
{
    QList<qsizetype> result;
    if (holdsAtSign(characters, first, last))
        return result;
    for (qsizetype k = first + 1; k < last; ++k) {
        const ReadCharacter &character = characters[k];
        // A domain's first label is rarely a single letter: "wiki.example.org" is no
        // "wi@i.example.org".
        const bool labelAfter = k + 2 <= last && isLetterOrDigit(characters[k + 1].text) && isLetterOrDigit(characters[k + 2].text);
        if (character.confidence < sureReading && character.text.size() == 1 && isLetterOrDigit(characters[k - 1].text) && labelAfter
            && hasCommonTopLevelDomain(addressDomainAt(characters, k + 1, last)))
            result.append(k);
    }
    return result;
}

// Characters that stand in a local part or mark its start are kept; the others, a
// letter outside ASCII or a mark Tesseract reads for a narrow digit ("?" for a 7, "|"
// or "!" for a 1), stand on the ink of some other character.
bool isLocalPartCharacter(const QString &text)
{
    static const QString marks = QStringLiteral("._%+-");
    return isLetterOrDigit(text) || (text.size() == 1 && marks.contains(text.front()));
}

bool isStrayInLocalPart(const QString &text)
{
    static const QString marks = QStringLiteral("?!|");
    return text.size() == 1 && ((text.front().unicode() >= 0x80 && text.front().isLetter()) || marks.contains(text.front()));
}

// The characters in the local part of the run's address that no local part holds there
// and that Tesseract is not sure of ("josé" read surely stays).
QList<qsizetype> strayAddressCharacters(const QList<ReadCharacter> &characters, qsizetype first, qsizetype last)
{
    QList<qsizetype> result;
    qsizetype at = -1;
    for (qsizetype k = first + 1; k <= last && at < 0; ++k) {
        if (characters[k].text == atSign && beginsAddressDomain(characters, k + 1, last))
            at = k;
    }
    if (at < 0)
        return result;
    qsizetype start = at;
    while (start > first && (isLocalPartCharacter(characters[start - 1].text) || isStrayInLocalPart(characters[start - 1].text)))
        --start;
    for (qsizetype k = start; k < at; ++k) {
        if (characters[k].confidence < sureReading && isStrayInLocalPart(characters[k].text))
            result.append(k);
    }
    return result;
}

// How likely Tesseract finds "@" for the character's ink, if likely enough; else a
// negative number.
double atSignChoice(const ReadCharacter &character)
{
    const auto choice = std::find_if(character.alternatives.cbegin(), character.alternatives.cend(),
                                     [](const SymbolChoice &alternative) { return alternative.text == atSign; });
    return choice == character.alternatives.cend() || choice->confidence < likelyChoice ? -1.0 : choice->confidence;
}

// Puts back the hyphens read as look-alikes in the domain of each address of the run
// [first, last].
int putBackDomainHyphens(QList<ReadCharacter> &characters, qsizetype first, qsizetype last)
{
    int replaced = 0;
    for (qsizetype k = first + 1; k < last; ++k) {
        if (characters[k].text != atSign || !beginsAddressDomain(characters, k + 1, last))
            continue;
        const qsizetype end = domainEnd(characters, k + 1, last);
        for (qsizetype j = k + 1; j < end; ++j) {
            if (isMisreadHyphen(characters, j, last)) {
                characters[j].text = QStringLiteral("-");
                ++replaced;
            }
        }
    }
    return replaced;
}

int repairRun(QList<ReadCharacter> &characters, qsizetype first, qsizetype last)
{
    int replaced = 0;
    qsizetype best = -1;
    for (const qsizetype k : atSignCandidates(characters, first, last)) {
        if (atSignChoice(characters[k]) >= 0 && (best < 0 || atSignChoice(characters[k]) > atSignChoice(characters[best])))
            best = k;
    }
    if (best >= 0) {
        characters[best].text = atSign;
        ++replaced;
    }
    for (const qsizetype k : strayAddressCharacters(characters, first, last)) {
        if (const std::optional<QString> choice = likelyLetterOrDigit(characters[k])) {
            characters[k].text = *choice;
            ++replaced;
        }
    }
    return replaced + putBackDomainHyphens(characters, first, last);
}

} // namespace

bool beginsAddressDomain(const QList<ReadCharacter> &characters, qsizetype from, qsizetype last)
{
    return !addressDomainAt(characters, from, last).isEmpty();
}

bool beginsDomainCutByLineEnd(const QList<ReadCharacter> &characters, qsizetype from)
{
    QString domain;
    for (qsizetype j = from; j < characters.size(); ++j)
        domain += characters[j].text;
    const auto smallLetterOrDigit = [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'); };
    return domain.size() >= 3 && smallLetterOrDigit(domain[0]) && smallLetterOrDigit(domain[1]) && domain.contains(u'.')
        && std::all_of(domain.begin(), domain.end(), [&](QChar c) { return smallLetterOrDigit(c) || c == u'.' || c == u'-'; });
}

int repairAddressRuns(QList<ReadCharacter> &characters)
{
    int replaced = 0;
    forEachRun(characters, [&](qsizetype first, qsizetype last) { replaced += repairRun(characters, first, last); });
    return replaced;
}

bool holdsDoubtfulAddressCharacter(const QList<ReadCharacter> &characters)
{
    bool found = false;
    forEachRun(characters, [&](qsizetype first, qsizetype last) {
        found = found || !atSignCandidates(characters, first, last).isEmpty() || !strayAddressCharacters(characters, first, last).isEmpty();
    });
    return found;
}

} // namespace velmora
