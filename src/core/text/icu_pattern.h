#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <optional>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class RegexPattern;
U_NAMESPACE_END

namespace velmora {

/// One match of a pattern: the UTF-16 start and length of the whole match and of
/// each capture group (a group that took no part has start -1).
struct IcuMatch
{
    struct Range {
        qsizetype start = -1;
        qsizetype length = 0;
        bool isValid() const { return start >= 0; }
        qsizetype end() const { return start + length; }
        friend bool operator==(const Range &, const Range &) = default;
    };

    QList<Range> groups; ///< groups[0] is the whole match.

    const Range &whole() const { return groups.front(); }
    Range group(int index) const { return index < groups.size() ? groups[index] : Range{}; }
};

/// What one search of a text found, and what it cost.
struct IcuSearch
{
    QList<IcuMatch> matches;
    /// ICU time-limit steps spent (each about ten thousand steps of the match engine);
    /// the same text and pattern always cost the same.
    int steps = 0;
    /// The step limit ended the search before the end of the text: matches further on
    /// may be missing.
    bool timedOut = false;
};

// A regular expression in ICU syntax, compiled once and matched over the UTF-16 text
// of a QString. Compiled patterns are immutable and may be shared between threads.
// Every search runs under a limit of time steps so that no pattern (a user's, a learned
// rule's, or one from an imported settings file) can stall a scan: when the limit is hit
// the search ends with the matches found so far, and says so.
class IcuPattern
{
public:
    enum Flag {
        NoFlags = 0,
        CaseInsensitive = 1 << 0,
        Literal = 1 << 1, ///< The pattern text is matched as it stands.
        Multiline = 1 << 2,
    };

    /// ICU time-limit steps (each a fraction of a millisecond of matching) per pattern and
    /// line for the user's patterns: terms, regexes and learned rules.
    static constexpr int kTimeLimitSteps = 100;

    /// The compiled pattern, or nothing when it does not compile. Never throws.
    static std::optional<IcuPattern> compile(const QString &pattern, int flags = NoFlags);

    /// Every non-overlapping match, left to right, within `stepLimit` steps (none when
    /// the limit is below one).
    IcuSearch search(const QString &text, int stepLimit = kTimeLimitSteps) const;
    /// Looks for the first match only, within `stepLimit` steps.
    IcuSearch searchFirst(const QString &text, int stepLimit = kTimeLimitSteps) const;

    /// Every non-overlapping match, left to right; a time-out counts as no further match.
    QList<IcuMatch> findAll(const QString &text) const { return search(text).matches; }
    /// True when the pattern matches somewhere in the text.
    bool matchesAnywhere(const QString &text) const { return !searchFirst(text).matches.isEmpty(); }

    const QString &pattern() const { return m_pattern; }
    /// The Flag values the pattern was compiled with.
    int flags() const { return m_flags; }

private:
    IcuPattern(QString pattern, int flags, std::shared_ptr<const icu::RegexPattern> compiled);
    IcuSearch run(const QString &text, int stepLimit, qsizetype maximumMatches) const;

    QString m_pattern;
    int m_flags = NoFlags;
    std::shared_ptr<const icu::RegexPattern> m_compiled;
};

} // namespace velmora
