#include "core/policy/learned_safe_matcher.h"

#include "core/text/unicode_text.h"

namespace velmora {

LearnedSafeMatcher::LearnedSafeMatcher(LearnedSafeRule rule) : m_rule(std::move(rule))
{
    if (m_rule.matchKind == LearnedSafeRule::MatchKind::pattern)
        m_pattern = IcuPattern::compile(m_rule.value);
}

LearnedSafeVerdict LearnedSafeMatcher::judge(const QString &candidateText,
                                             const std::optional<QString> &candidateLabel,
                                             PatternTimeBudget &budget) const
{
    if (m_rule.detectorLabel && candidateLabel && *m_rule.detectorLabel != *candidateLabel)
        return LearnedSafeVerdict::notSafe;
    switch (m_rule.matchKind) {
    case LearnedSafeRule::MatchKind::pattern: {
        if (!m_pattern)
            return LearnedSafeVerdict::notSafe;
        const IcuSearch search = budget.searchFirst(*m_pattern, candidateText);
        if (!search.matches.isEmpty())
            return LearnedSafeVerdict::safe;
        return search.timedOut ? LearnedSafeVerdict::outOfTime : LearnedSafeVerdict::notSafe;
    }
    case LearnedSafeRule::MatchKind::exactText:
        return unicode::normalizedForComparison(candidateText) == unicode::normalizedForComparison(m_rule.value)
                   ? LearnedSafeVerdict::safe
                   : LearnedSafeVerdict::notSafe;
    }
    return LearnedSafeVerdict::notSafe;
}

} // namespace velmora
