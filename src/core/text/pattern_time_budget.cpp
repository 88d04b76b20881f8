#include "core/text/pattern_time_budget.h"

#include <algorithm>

namespace velmora {

IcuSearch PatternTimeBudget::search(const IcuPattern &pattern, const QString &text)
{
    return spend(pattern.search(text, stepLimit()));
}

IcuSearch PatternTimeBudget::searchFirst(const IcuPattern &pattern, const QString &text)
{
    return spend(pattern.searchFirst(text, stepLimit()));
}

int PatternTimeBudget::stepLimit() const
{
    return std::min(IcuPattern::kTimeLimitSteps, m_remaining);
}

IcuSearch PatternTimeBudget::spend(IcuSearch search)
{
    m_remaining -= search.steps;
    return search;
}

} // namespace velmora
