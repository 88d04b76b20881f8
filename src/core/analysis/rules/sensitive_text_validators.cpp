#include "core/analysis/rules/sensitive_text_validators.h"

#include "core/analysis/rules/sensitive_text_context.h"
#include "core/analysis/rules/sensitive_text_shapes.h"
#include "core/analysis/rules/text_characters.h"
#include "core/text/icu_pattern.h"
#include "core/text/unicode_text.h"

#include <QSet>

#include <algorithm>
#include <initializer_list>

namespace velmora::sensitive_text {

namespace {

// The validators' own patterns are constants; a pattern that failed to compile would
// count as never matching.
bool matches(const std::optional<IcuPattern> &pattern, const QString &text)
{
    return pattern && pattern->matchesAnywhere(text);
}

QString withoutExtension(const QString &value)
{
    static const auto extension = IcuPattern::compile(QStringLiteral("(?i)\\s*(?:x|ext\\.?)\\s*\\d{1,6}\\s*$"));
    if (!extension)
        return value;
    QString core;
    qsizetype copied = 0;
    for (const IcuMatch &match : extension->findAll(value)) {
        core += QStringView(value).mid(copied, match.whole().start - copied);
        copied = match.whole().end();
    }
    core += QStringView(value).mid(copied);
    return core;
}

bool beginsWithAny(const QString &lowered, std::initializer_list<const char16_t *> prefixes)
{
    for (const char16_t *prefix : prefixes) {
        if (lowered.startsWith(QStringView(prefix)))
            return true;
    }
    return false;
}

} // namespace

bool isNotPlaceholder(const QString &value, const QString &, const TextRange &)
{
    return !isPlaceholderValue(value);
}

bool isPlausiblePhoneNumber(const QString &value, const QString &line, const TextRange &range)
{
    const QString core = unicode::trimmed(withoutExtension(value));
    const TextCharacters characters(core);
    const QList<int> digits = characters.digitValues();
    if (!(digits.size() == 10 || (digits.size() == 11 && digits.front() == 1)))
        return false;

    const bool plus = core.contains(u'+');
    const bool parentheses = core.contains(u'(') || core.contains(u')');
    const bool dash = core.contains(u'-');
    const bool dot = core.contains(u'.');
    qsizetype whiteSpace = 0;
    for (const char32_t codePoint : core.toUcs4()) {
        if (unicode::isWhiteSpaceOrNewline(codePoint))
            ++whiteSpace;
    }
    const bool space = whiteSpace > 0;

    if (!plus && !parentheses && !dash && !space && !dot)
        return false;
    if (dot) {
        static const auto dotted = IcuPattern::compile(
            QStringLiteral("^\\s*(?:\\+?1[ .-]?)?(?:[2-9]\\d{2}\\.[2-9]\\d{2}\\.\\d{4})\\s*$"));
        if (!matches(dotted, core))
            return false;
    }
    const bool strongFormatting = plus || !space;
    qsizetype separators = 0;
    for (const QStringView character : characters) {
        if (character == u"-" || character == u"." || unicode::isWhiteSpaceOrNewline(character.toUcs4().value(0)))
            ++separators;
    }
    if (!plus && !parentheses && separators < 2)
        return false;
    if (!strongFormatting && !parentheses && !dash && !dot && !hasPhoneContext(line, range))
        return false;
    return QSet<int>(digits.begin(), digits.end()).size() >= 4;
}

bool isPlausibleAccessKeyId(const QString &value, const QString &, const TextRange &)
{
    const qsizetype blanks = value.count(u' ');
    if (value.count(u'@') + value.count(u'&') > 1)
        return false;
    return blanks == 0 || (blanks <= 2 && TextCharacters(value).digitCount() > 0);
}

bool isPlausibleCardNumber(const QString &value, const QString &, const TextRange &)
{
    return passesCardCheck(TextCharacters(value).digitValues());
}

QString ipv4AddressPattern()
{
    return QStringLiteral(R"((?:(?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\.){3}(?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?))");
}

bool isIpv4Address(const QString &text)
{
    static const auto address = IcuPattern::compile(QStringLiteral("^") + ipv4AddressPattern() + QStringLiteral("$"));
    return matches(address, text);
}

bool passesCardCheck(const QList<int> &digits)
{
    if (digits.size() < 13 || digits.size() > 19)
        return false;
    int sum = 0;
    bool doubled = false;
    for (auto it = digits.crbegin(); it != digits.crend(); ++it) {
        int digit = *it;
        if (doubled) {
            digit *= 2;
            if (digit > 9)
                digit -= 9;
        }
        sum += digit;
        doubled = !doubled;
    }
    return sum % 10 == 0;
}

bool isPlausibleAccountIdentifier(const QString &value, const QString &line, const TextRange &range)
{
    // An identifier holds a digit; a random one read without it (a 5 read as "S", a 0 as
    // "O") still mixes capitals and small letters as no word does.
    const auto id = std::find_if(value.begin(), value.end(), [](QChar c) { return c == u'_' || c == u'-'; });
    const auto count = [&](auto test) { return std::count_if(id, value.end(), test); };
    const bool randomLetters = count([](QChar c) { return c.isUpper(); }) >= 2 && count([](QChar c) { return c.isLower(); }) >= 2;
    if (TextCharacters(value).digitCount() == 0 && !randomLetters)
        return false;
    if (isPlaceholderValue(value) || looksLikeWorkloadName(value))
        return false;
    if (beginsWithAny(unicode::lowercased(value),
                      {u"customer_", u"customer-", u"account_", u"account-", u"acct_", u"acct-"}))
        return true;
    return hasAccountContext(line, range);
}

bool isPlausibleHighEntropySecret(const QString &value, const QString &line, const TextRange &range)
{
    if (TextCharacters(value).size() < 28)
        return false;
    // Hex digits hold at most 4 bits each: a random hex key's entropy stays just under it.
    static const auto hex = IcuPattern::compile(QStringLiteral("^[0-9a-f]+$"), IcuPattern::CaseInsensitive);
    if (hasSecretContext(line, range))
        return shannonEntropy(value) >= (matches(hex, value) ? 3.5 : 3.8);
    if (beginsWithAny(unicode::lowercased(value), {u"customer_", u"account_", u"invoice_", u"order_"}))
        return false;
    static const auto uuid = IcuPattern::compile(
        QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[1-5][0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}$"),
        IcuPattern::CaseInsensitive);
    if (matches(uuid, value))
        return false;
    if (looksLikePath(value) || looksLikeBuildIdentifier(value) || looksLikeInfrastructureName(value)
        || looksLikeMetricName(value))
        return false;
    return shannonEntropy(value) >= 4.25;
}

} // namespace velmora::sensitive_text
