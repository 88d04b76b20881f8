#pragma once

// How far a recognised text is from what was drawn, for the OCR benchmarks.

#include <QList>
#include <QString>

#include <algorithm>
#include <climits>

namespace bench {

inline int editDistance(const QString &a, const QString &b)
{
    QList<int> previous(b.size() + 1), current(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        previous[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        current[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j)
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (a[i - 1] != b[j - 1])});
        std::swap(previous, current);
    }
    return previous[b.size()];
}

// The part of `text` closest to `value` (approximate substring match): start, end,
// distance. Among equally close parts the longest, which holds every character the
// recogniser read for the value.
struct Match { qsizetype start = 0; qsizetype end = 0; int distance = INT_MAX; };
inline Match closestPart(const QString &text, const QString &value)
{
    if (const qsizetype at = text.indexOf(value); at >= 0)
        return {at, at + value.size(), 0};
    // Distance of the best part ending at each position (free start).
    QList<int> previous(text.size() + 1, 0), current(text.size() + 1);
    for (qsizetype i = 1; i <= value.size(); ++i) {
        current[0] = int(i);
        for (qsizetype j = 1; j <= text.size(); ++j)
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (value[i - 1] != text[j - 1])});
        std::swap(previous, current);
    }
    const int best = *std::min_element(previous.begin(), previous.end());
    Match match;
    for (qsizetype end = 0; end <= text.size(); ++end) {
        if (previous[end] != best)
            continue;
        for (qsizetype start = std::max<qsizetype>(0, end - 2 * value.size()); start <= end; ++start) {
            if (end - start > match.end - match.start && editDistance(text.mid(start, end - start), value) == best)
                match = {start, end, best};
        }
    }
    return match;
}

} // namespace bench
