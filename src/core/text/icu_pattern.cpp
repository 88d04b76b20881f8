#include "core/text/icu_pattern.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

namespace velmora {

namespace {

icu::UnicodeString toUnicode(const QString &text)
{
    // Read-only alias of the QString's UTF-16 buffer: no copy.
    return icu::UnicodeString(false, reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()));
}

// A matcher over `input` that gives up after the time limit; null when ICU refuses.
// `input` must outlive the matcher.
std::unique_ptr<icu::RegexMatcher> timedMatcher(const icu::RegexPattern &pattern, const icu::UnicodeString &input)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher(pattern.matcher(input, status));
    if (U_FAILURE(status) || !matcher)
        return nullptr;
    matcher->setTimeLimit(IcuPattern::kTimeLimitSteps, status);
    return U_SUCCESS(status) ? std::move(matcher) : nullptr;
}

} // namespace

IcuPattern::IcuPattern(QString pattern, int flags, std::shared_ptr<const icu::RegexPattern> compiled)
    : m_pattern(std::move(pattern)), m_flags(flags), m_compiled(std::move(compiled))
{
}

std::optional<IcuPattern> IcuPattern::compile(const QString &pattern, int flags)
{
    uint32_t icuFlags = 0;
    if (flags & CaseInsensitive)
        icuFlags |= UREGEX_CASE_INSENSITIVE;
    if (flags & Literal)
        icuFlags |= UREGEX_LITERAL;
    if (flags & Multiline)
        icuFlags |= UREGEX_MULTILINE;
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError;
    std::unique_ptr<icu::RegexPattern> compiled(
        icu::RegexPattern::compile(toUnicode(pattern), icuFlags, parseError, status));
    if (U_FAILURE(status) || !compiled)
        return std::nullopt;
    return IcuPattern(pattern, flags, std::shared_ptr<const icu::RegexPattern>(std::move(compiled)));
}

QList<IcuMatch> IcuPattern::findAll(const QString &text) const
{
    QList<IcuMatch> matches;
    const icu::UnicodeString input = toUnicode(text);
    const std::unique_ptr<icu::RegexMatcher> matcher = timedMatcher(*m_compiled, input);
    if (!matcher)
        return matches;
    UErrorCode status = U_ZERO_ERROR;
    const int groupCount = matcher->groupCount();
    while (true) {
        status = U_ZERO_ERROR;
        if (!matcher->find(status) || U_FAILURE(status))
            break; // No further match, or the time limit ran out.
        IcuMatch match;
        for (int g = 0; g <= groupCount; ++g) {
            const int32_t start = matcher->start(g, status);
            const int32_t end = matcher->end(g, status);
            if (U_FAILURE(status) || start < 0)
                match.groups.append(IcuMatch::Range{});
            else
                match.groups.append(IcuMatch::Range{start, end - start});
        }
        matches.append(match);
    }
    return matches;
}

bool IcuPattern::matchesAnywhere(const QString &text) const
{
    const icu::UnicodeString input = toUnicode(text);
    const std::unique_ptr<icu::RegexMatcher> matcher = timedMatcher(*m_compiled, input);
    UErrorCode status = U_ZERO_ERROR;
    const bool found = matcher && matcher->find(status);
    return found && U_SUCCESS(status);
}

} // namespace velmora
