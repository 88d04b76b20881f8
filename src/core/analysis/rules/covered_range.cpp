#include "core/analysis/rules/covered_range.h"

#include "core/analysis/repairs/token_repair.h"

#include <algorithm>

namespace velmora {

namespace {

// The characters of a setting's name: letters, digits and "_.-", beginning with a
// letter or "_".
qsizetype nameLength(const QString &text, qsizetype from, qsizetype end)
{
    if (from >= end || !(text[from].isLetter() || text[from] == u'_'))
        return 0;
    qsizetype k = from;
    while (k < end && text[k].unicode() < 0x80 && (text[k].isLetterOrNumber() || text[k] == u'_' || text[k] == u'.' || text[k] == u'-'))
        ++k;
    return k - from;
}

// The range grown at both ends over the unbroken run of token characters it touches,
// without the "name=" a run may begin with: an "=" inside a token is no padding when a
// name stands before it and more than padding after it.
TextRange wholeRunAround(const QString &text, const TextRange &range)
{
    qsizetype start = range.location;
    qsizetype end = range.end();
    while (start > 0 && isTokenCharacter(text[start - 1]))
        --start;
    while (end < text.size() && isTokenCharacter(text[end]))
        ++end;
    const qsizetype name = nameLength(text, start, end);
    const qsizetype equals = start + name;
    if (name > 0 && equals < end && text[equals] == u'=') {
        qsizetype value = equals + 1;
        while (value < end && text[value] == u'=')
            ++value;
        if (value < end)
            start = value;
    }
    return TextRange{start, end - start};
}

// A mark the recogniser reads for the faint last stroke of a glyph: an underscore, a bar,
// or a closing bracket that closes nothing before it on the line.
bool isStrayMark(const QString &text, qsizetype at)
{
    const QChar c = text[at];
    if (c == u'_' || c == u'|')
        return true;
    static const QString closing = QStringLiteral(")]}");
    static const QString opening = QStringLiteral("([{");
    const qsizetype kind = closing.indexOf(c);
    return kind >= 0 && text.lastIndexOf(opening[kind], at) < 0;
}

TextRange withStrayMarks(const QString &text, TextRange range)
{
    const qsizetype before = range.location - 1;
    if (before >= 0 && isStrayMark(text, before) && (before == 0 || text[before - 1].isSpace()))
        range = TextRange{before, range.length + 1};
    const qsizetype after = range.end();
    if (after < text.size() && isStrayMark(text, after) && (after + 1 == text.size() || text[after + 1].isSpace()))
        ++range.length;
    return range;
}

// What ends a URL's authority: its path, a blank, or what encloses the URL. A password
// may hold "?", "#" and ":" as written on screen.
bool endsAuthority(QChar c)
{
    static const QString closing = QStringLiteral("/\"'<>()[]{}");
    return c.isSpace() || closing.contains(c);
}

// The range grown over the user information of the URL whose authority holds `at`.
TextRange withUrlUserInformation(const QString &text, const TextRange &range, qsizetype at)
{
    // The authority: after the last "://" before `at`, with no end of an authority
    // between.
    qsizetype authority = at;
    while (authority > 0 && !endsAuthority(text[authority - 1]))
        --authority;
    if (authority < 3 || QStringView(text).mid(authority - 3, 3) != QLatin1String("://"))
        return range;
    qsizetype end = authority;
    while (end < text.size() && !endsAuthority(text[end]))
        ++end;
    const qsizetype userEnd = text.lastIndexOf(u'@', end - 1);
    if (userEnd < authority)
        return range;
    const qsizetype start = std::min<qsizetype>(authority, range.location);
    const qsizetype last = std::max<qsizetype>(userEnd + 1, range.end());
    return TextRange{start, last - start};
}

} // namespace

CoveredText coveredText(const QString &line, const TextRange &match, bool wholeRun)
{
    const TextRange range =
        withUrlUserInformation(line, withStrayMarks(line, wholeRun ? wholeRunAround(line, match) : match), match.location);
    const auto markAt = [&line](qsizetype at) -> std::optional<TextRange> {
        if (at < 0 || at >= line.size() || line[at].isSpace() || line[at].isLetterOrNumber() || line[at].isSurrogate())
            return std::nullopt;
        return TextRange{at, 1};
    };
    return {range, markAt(range.location - 1), markAt(range.end())};
}

} // namespace velmora
