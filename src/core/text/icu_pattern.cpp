#include "core/text/icu_pattern.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <limits>

namespace velmora {

namespace {

icu::UnicodeString toUnicode(const QString &text)
{
    // Read-only alias of the QString's UTF-16 buffer: no copy.
    return icu::UnicodeString(false, reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()));
}

// Counts the steps of one search and stops it at the limit. ICU calls back once per
// time-limit step, so the count does not depend on how fast the machine is.
struct StepCounter
{
    int steps = 0;
    int limit = 0;

    static UBool callback(const void *context, int32_t)
    {
        auto *counter = static_cast<StepCounter *>(const_cast<void *>(context));
        return ++counter->steps < counter->limit;
    }
};

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

IcuSearch IcuPattern::search(const QString &text, int stepLimit) const
{
    return run(text, stepLimit, std::numeric_limits<qsizetype>::max());
}

IcuSearch IcuPattern::searchFirst(const QString &text, int stepLimit) const
{
    return run(text, stepLimit, 1);
}

IcuSearch IcuPattern::run(const QString &text, int stepLimit, qsizetype maximumMatches) const
{
    IcuSearch result;
    if (stepLimit < 1) {
        result.timedOut = true;
        return result;
    }
    const icu::UnicodeString input = toUnicode(text); // `input` outlives the matcher.
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::RegexMatcher> matcher(m_compiled->matcher(input, status));
    StepCounter counter{0, stepLimit};
    if (matcher && U_SUCCESS(status))
        matcher->setMatchCallback(&StepCounter::callback, &counter, status);
    if (!matcher || U_FAILURE(status))
        return result;
    const int groupCount = matcher->groupCount();
    while (result.matches.size() < maximumMatches) {
        status = U_ZERO_ERROR;
        const bool found = matcher->find(status);
        if (status == U_REGEX_STOPPED_BY_CALLER)
            result.timedOut = true;
        if (!found || U_FAILURE(status))
            break;
        IcuMatch match;
        for (int g = 0; g <= groupCount; ++g) {
            const int32_t start = matcher->start(g, status);
            const int32_t end = matcher->end(g, status);
            if (U_FAILURE(status) || start < 0)
                match.groups.append(IcuMatch::Range{});
            else
                match.groups.append(IcuMatch::Range{start, end - start});
        }
        result.matches.append(match);
    }
    result.steps = counter.steps;
    return result;
}

} // namespace velmora
