#pragma once

#include "core/policy/learned_safe_rule.h"
#include "core/text/icu_pattern.h"
#include "core/text/pattern_time_budget.h"

#include <optional>

namespace velmora {

/// What a learned safe rule makes of one candidate.
enum class LearnedSafeVerdict {
    safe,      ///< The rule suppresses the candidate.
    notSafe,   ///< It does not.
    outOfTime, ///< Its pattern ran out of time, or had none left: the candidate stays.
};

// A learned safe rule made ready for the candidates of one scan: its pattern is compiled
// once, when the matcher is made, and searched under the scan's pattern time budget.
class LearnedSafeMatcher
{
public:
    explicit LearnedSafeMatcher(LearnedSafeRule rule);

    const LearnedSafeRule &rule() const { return m_rule; }

    /// Whether the rule suppresses a candidate with this text and label. An exact-text
    /// rule compares trimmed and fully lower-cased; a pattern rule (case-sensitive, no
    /// options) matches anywhere in the untrimmed text, and one that does not compile
    /// never matches. A rule for another label is notSafe without spending time.
    LearnedSafeVerdict judge(const QString &candidateText, const std::optional<QString> &candidateLabel,
                             PatternTimeBudget &budget) const;

private:
    LearnedSafeRule m_rule;
    std::optional<IcuPattern> m_pattern;
};

} // namespace velmora
