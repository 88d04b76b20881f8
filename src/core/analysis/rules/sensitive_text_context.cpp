#include "core/analysis/rules/sensitive_text_context.h"

#include "core/text/icu_pattern.h"
#include "core/text/unicode_text.h"

#include <algorithm>
#include <initializer_list>

namespace velmora::sensitive_text {

namespace {

// The window of `before` and `after` characters around the range, kept inside the
// text line ("\n"-delimited) that holds it, lower-cased; nothing when the range does
// not fall on character boundaries.
std::optional<QString> characterWindow(const QString &line, const TextRange &range, qsizetype before,
                                       qsizetype after)
{
    if (range.location < 0 || range.length < 0 || range.end() > line.size())
        return std::nullopt;
    const QList<qsizetype> boundaries = unicode::characterBoundaries(line);
    const qsizetype startIndex = boundaries.indexOf(qsizetype(range.location));
    const qsizetype endIndex = boundaries.indexOf(qsizetype(range.end()), std::max<qsizetype>(startIndex, 0));
    if (startIndex < 0 || endIndex < 0)
        return std::nullopt;
    const qsizetype previousNewline = range.location > 0 ? line.lastIndexOf(u'\n', range.location - 1) : -1;
    const qsizetype lineStart = previousNewline + 1;
    const qsizetype nextNewline = line.indexOf(u'\n', range.end());
    const qsizetype lineEnd = nextNewline < 0 ? line.size() : nextNewline;
    const qsizetype windowStart = std::max(boundaries[std::max<qsizetype>(startIndex - before, 0)], lineStart);
    const qsizetype windowEnd =
        std::min(boundaries[std::min<qsizetype>(endIndex + after, boundaries.size() - 1)], lineEnd);
    return unicode::lowercased(line.mid(windowStart, windowEnd - windowStart));
}

bool windowContainsAny(const QString &line, const TextRange &range, qsizetype before, qsizetype after,
                       std::initializer_list<const char16_t *> phrases)
{
    const auto window = characterWindow(line, range, before, after);
    if (!window)
        return false;
    for (const char16_t *phrase : phrases) {
        if (window->contains(QStringView(phrase)))
            return true;
    }
    return false;
}

} // namespace

bool hasPhoneContext(const QString &line, const TextRange &range)
{
    const qsizetype start = std::clamp<qsizetype>(range.location - 32, 0, line.size());
    const qsizetype end = std::clamp<qsizetype>(range.end() + 32, 0, line.size());
    if (end <= start)
        return false;
    static const auto phoneWords = IcuPattern::compile(
        QStringLiteral("\\b(?:call|cell|contact|fax|mobile|phone|sms|support|tel|telephone)\\b"));
    return phoneWords && phoneWords->matchesAnywhere(unicode::lowercased(line.mid(start, end - start)));
}

bool hasAccountContext(const QString &line, const TextRange &range)
{
    return windowContainsAny(line, range, 48, 48,
        {u"account id", u"account:", u"account=", u"acct", u"customer id", u"customer:", u"customer=",
         u"tenant id", u"workspace id"});
}

bool hasSecretContext(const QString &line, const TextRange &range)
{
    return windowContainsAny(line, range, 80, 24,
        {u"access_key", u"access-key", u"api_key", u"api-key", u"apikey", u"authorization", u"bearer",
         u"client_secret", u"credential", u"password", u"private_key", u"secret", u"token", u"_key=", u"_key:"});
}

} // namespace velmora::sensitive_text
