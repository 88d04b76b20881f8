#include "core/analysis/repairs/key_prefix_repair.h"

#include <algorithm>

namespace velmora {

namespace {

// A kind of key by its fixed beginning and the shape of the rest.
struct KeyPrefix
{
    QString prefix;
    /// What each character of the prefix may have been read as, itself included.
    QList<QString> readings;
    /// The range of the key's length as read (a character lost or gained); no longest
    /// when 0.
    qsizetype shortest = 0;
    qsizetype longest = 0;
    /// How many dots the key holds.
    int dots = 0;
    /// The rest of the key may hold dashes, so a dash's look-alike in it is a dash.
    bool dashesInside = false;
    /// The key is written in capitals and digits only.
    bool capitalsAndDigits = false;
};

// The readings of each character of a prefix: a dash as any of its look-alikes, any
// other character as itself.
QList<QString> asWritten(const QString &prefix)
{
    QList<QString> readings;
    for (QChar c : prefix)
        readings.append(c == u'-' ? dashReadings.toString() : QString(c));
    return readings;
}

// How "sk_live_" or "rk_live_" is read: its l as a capital I, a 1, or beside an
// underscore whose stroke makes its foot, an L.
QList<QString> stripeLive(QChar kind)
{
    return {QString(kind), QStringLiteral("k"), QStringLiteral("_"), QStringLiteral("lI1L"), QStringLiteral("i"), QStringLiteral("v"),
            QStringLiteral("e"), QStringLiteral("_")};
}

const QList<KeyPrefix> &keyPrefixes()
{
    static const QList<KeyPrefix> prefixes{
        {QStringLiteral("AIza"), {QStringLiteral("A"), QStringLiteral("Il1|!"), QStringLiteral("z"), QStringLiteral("a")}, 38, 40, 0},
        {QStringLiteral("AKIA"), {QStringLiteral("A"), QStringLiteral("K"), QStringLiteral("Il1|!T"), QStringLiteral("A")}, 20, 20, 0, false, true},
        {QStringLiteral("ASIA"), {QStringLiteral("A"), QStringLiteral("S"), QStringLiteral("Il1|!T"), QStringLiteral("A")}, 20, 20, 0, false, true},
        {QStringLiteral("eyJ"), {QStringLiteral("e"), QStringLiteral("y"), QStringLiteral("JIl1|TS")}, 30, 0, 2},
        {QStringLiteral("sk_live_"), stripeLive(u's'), 24, 0, 0},
        {QStringLiteral("rk_live_"), stripeLive(u'r'), 24, 0, 0},
        {QStringLiteral("sk-proj-"), asWritten(QStringLiteral("sk-proj-")), 40, 0, 0, true},
        {QStringLiteral("sk-"), asWritten(QStringLiteral("sk-")), 40, 0, 0, true},
        {QStringLiteral("xoxa-"), asWritten(QStringLiteral("xoxa-")), 30, 0, 0, true},
        {QStringLiteral("xoxb-"), asWritten(QStringLiteral("xoxb-")), 30, 0, 0, true},
        {QStringLiteral("xoxp-"), asWritten(QStringLiteral("xoxp-")), 30, 0, 0, true},
        {QStringLiteral("xoxr-"), asWritten(QStringLiteral("xoxr-")), 30, 0, 0, true},
        {QStringLiteral("xoxs-"), asWritten(QStringLiteral("xoxs-")), 30, 0, 0, true},
        {QStringLiteral("ssh-ed25519"), asWritten(QStringLiteral("ssh-ed25519")), 11, 11, 0},
        {QStringLiteral("ssh-rsa"), asWritten(QStringLiteral("ssh-rsa")), 7, 7, 0},
    };
    return prefixes;
}

bool isKeyCharacter(const QString &text)
{
    return isDashReading(text)
        || (text.size() == 1 && text.front().unicode() < 0x80
            && (text.front().isLetterOrNumber() || text.front() == u'_' || text.front() == u'.'));
}

// Rewrites the key of the characters [start, end) of a run, which begin with a letter or
// digit and hold only characters of keys.
int repairKey(QList<ReadCharacter> &characters, qsizetype start, qsizetype end)
{
    const qsizetype length = end - start;
    const int dots = int(std::count_if(characters.begin() + start, characters.begin() + end,
                                       [](const ReadCharacter &character) { return character.text == QLatin1String("."); }));
    for (const KeyPrefix &key : keyPrefixes()) {
        if (length < key.prefix.size() || length < key.shortest || (key.longest > 0 && length > key.longest) || dots != key.dots)
            continue;
        if (key.capitalsAndDigits && !std::all_of(characters.begin() + start + key.prefix.size(), characters.begin() + end, isCapitalOrDigit))
            continue;
        bool readAlike = true;
        for (qsizetype k = 0; k < key.readings.size() && readAlike; ++k) {
            const QString &text = characters[start + k].text;
            readAlike = text.size() == 1 && key.readings[k].contains(text.front());
        }
        if (!readAlike)
            continue;
        // A character put back is as certain as the kind of key the rest of the run is.
        int replaced = 0;
        const auto putBack = [&](ReadCharacter &character, QChar written) {
            if (character.text != written) {
                character.text = written;
                character.confidence = 1.0;
                ++replaced;
            }
        };
        for (qsizetype k = 0; k < key.prefix.size(); ++k)
            putBack(characters[start + k], key.prefix[k]);
        // A look-alike after the key's last character may be a mark of its own.
        for (qsizetype k = start + key.prefix.size(); key.dashesInside && k + 1 < end; ++k) {
            if (isDashReading(characters[k].text))
                putBack(characters[k], u'-');
        }
        return replaced;
    }
    return 0;
}

// Rewrites each key of the run [first, last]: each stretch of characters of keys that
// begins with a letter or digit, at the run's beginning or after quotes, brackets or a
// setting's "=" or ":".
int repairRun(QList<ReadCharacter> &characters, qsizetype first, qsizetype last)
{
    int replaced = 0;
    for (qsizetype start = first; start <= last;) {
        if (!(characters[start].text.size() == 1 && characters[start].text.front().isLetterOrNumber())) {
            ++start;
            continue;
        }
        qsizetype end = start;
        while (end <= last && isKeyCharacter(characters[end].text))
            ++end;
        replaced += repairKey(characters, start, end);
        start = std::max(end, start + 1);
    }
    return replaced;
}

} // namespace

int repairKeyPrefixes(QList<ReadCharacter> &characters)
{
    int replaced = 0;
    forEachRun(characters, [&](qsizetype first, qsizetype last) { replaced += repairRun(characters, first, last); });
    return replaced;
}

} // namespace velmora
