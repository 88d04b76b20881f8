#pragma once

#include "core/text/icu_pattern.h"

#include <QString>

namespace velmora {

// The ICU time steps that the user's patterns (terms, regexes, learned rules) may spend
// together on one image. Each search is still held to the per-line limit; once the
// budget is spent, no further search runs. Counted in steps, so the same image and
// patterns always run the same searches, however busy the machine. One per image;
// not shared between threads.
class PatternTimeBudget
{
public:
    /// The budget of one image: ten lines' worth of the per-line limit.
    static constexpr int kStepsPerImage = 1000;

    explicit PatternTimeBudget(int steps = kStepsPerImage) : m_remaining(steps) {}

    /// Every match of `pattern` in `text`, searched within the per-line limit and what
    /// is left; spends the search's steps. A spent budget runs no search and gives a
    /// timed-out result with no matches.
    IcuSearch search(const IcuPattern &pattern, const QString &text);
    /// As search, for the first match only.
    IcuSearch searchFirst(const IcuPattern &pattern, const QString &text);

    bool isSpent() const { return m_remaining <= 0; }
    int remainingSteps() const { return m_remaining; }

private:
    int stepLimit() const;
    IcuSearch spend(IcuSearch search);

    int m_remaining;
};

} // namespace velmora
