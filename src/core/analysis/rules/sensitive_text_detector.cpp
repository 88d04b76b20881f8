#include "core/analysis/rules/sensitive_text_detector.h"

#include "core/analysis/layout/cut_off.h"
#include "core/analysis/rules/covered_range.h"
#include "core/analysis/rules/sensitive_text_rule_catalog.h"
#include "core/analysis/wraps/wrapped_value_findings.h"
#include "core/support/log_categories.h"
#include "core/text/pattern_time_budget.h"
#include "core/text/unicode_text.h"

#include <QHash>
#include <QUuid>

#include <algorithm>
#include <limits>

namespace velmora {

namespace {

// Findings whose box had to fall back to the whole line are capped below the
// needs-review threshold.
constexpr double kLineFallbackConfidenceCap = 0.74;
// Values recognised less surely than this give findings that need review.
constexpr double kReviewLineConfidence = 0.8;

RedactionPolicyDisposition dispositionOf(DetectionSuggestedAction action)
{
    switch (action) {
    case DetectionSuggestedAction::redact:
        return RedactionPolicyDisposition::autoRedact;
    case DetectionSuggestedAction::review:
        return RedactionPolicyDisposition::needsReview;
    case DetectionSuggestedAction::ignore:
        break;
    }
    return RedactionPolicyDisposition::ignore;
}

std::optional<DetectionSuggestedAction> actionOf(RedactionPolicyDisposition disposition)
{
    switch (disposition) {
    case RedactionPolicyDisposition::autoRedact:
        return DetectionSuggestedAction::redact;
    case RedactionPolicyDisposition::needsReview:
        return DetectionSuggestedAction::review;
    case RedactionPolicyDisposition::ignore:
        break;
    }
    return std::nullopt;
}

// A UTF-16 offset that does not split a surrogate pair.
bool isCodePointBoundary(const QString &text, qsizetype offset)
{
    if (offset < 0 || offset > text.size())
        return false;
    return offset == 0 || offset == text.size() || !(text[offset - 1].isHighSurrogate() && text[offset].isLowSurrogate());
}

bool overlaps(const std::optional<TextRange> &a, const std::optional<TextRange> &b)
{
    return a && b && a->location < b->end() && b->location < a->end();
}

// A finding of one line with what it competes with against overlapping ones: how sure
// its rule is, as the line's reading as a whole allows, and how much of the line its box
// covers.
struct Contender
{
    Detection finding;
    double sureness = 0;
    double ruleConfidence = 0;
    /// The length of the range the box covers: the matched range, or the whole run of
    /// token characters around it for rules that box the run.
    std::int64_t coveredLength = 0;
    /// The box covers the matched value (and a stray mark beside it) rather than a run
    /// of token characters, which may also hold the name before "=".
    bool boxesValueAlone = false;
};

// The order in which overlapping findings of one line compete: surer first, redact
// before review (as each finding proposes: a value read surely on an unsure line keeps
// its rule's action), the one covering more before the one covering less (no range
// counts as longest), the surer rule (where an unsure line makes its findings equally
// sure), then by label. A key's rule and the random-looking-secret rule box the same run
// of token characters, so on an unsure line the key's rule names it.
bool competesBefore(const Contender &a, const Contender &b)
{
    if (a.sureness != b.sureness)
        return a.sureness > b.sureness;
    if (a.finding.suggestedAction != b.finding.suggestedAction)
        return a.finding.suggestedAction < b.finding.suggestedAction;
    const auto length = [](const Contender &c) {
        return c.finding.matchedRange ? c.coveredLength : std::numeric_limits<std::int64_t>::max();
    };
    if (length(a) != length(b))
        return length(a) > length(b);
    if (a.ruleConfidence != b.ruleConfidence)
        return a.ruleConfidence > b.ruleConfidence;
    return a.finding.label < b.finding.label;
}

// Reading order within a line: left to right (no range last), then by label.
bool readsBefore(const Detection &a, const Detection &b)
{
    if (a.matchedRange.has_value() != b.matchedRange.has_value())
        return a.matchedRange.has_value();
    if (a.matchedRange && a.matchedRange->location != b.matchedRange->location)
        return a.matchedRange->location < b.matchedRange->location;
    return a.label < b.label;
}

// An image read over two grounds (one that sees through) gives each value twice, once
// perhaps cut short where its ground turns transparent: findings whose boxes mostly
// overlap and whose values hold one another are one value, found by the fuller reading
// and boxed over both.
QList<Detection> joinedReadings(QList<Detection> findings)
{
    const auto sameValue = [](const Detection &a, const Detection &b) {
        if (!a.matchedText || !b.matchedText || !(a.matchedText->contains(*b.matchedText) || b.matchedText->contains(*a.matchedText)))
            return false;
        const double smaller = std::min(a.normalizedBounds.area(), b.normalizedBounds.area());
        return smaller > 0 && a.normalizedBounds.intersected(b.normalizedBounds).area() >= 0.5 * smaller;
    };
    QList<Detection> kept;
    for (Detection &finding : findings) {
        const auto same = std::find_if(kept.begin(), kept.end(), [&](const Detection &other) { return sameValue(finding, other); });
        if (same == kept.end()) {
            kept.append(std::move(finding));
            continue;
        }
        const NormRect both = same->normalizedBounds.united(finding.normalizedBounds);
        if (finding.matchedText->size() > same->matchedText->size())
            *same = std::move(finding);
        same->normalizedBounds = both;
    }
    return kept;
}

} // namespace

struct SensitiveTextDetector::Candidate
{
    QString value;
    TextRange range;
    qsizetype rule = 0;
    /// How surely the value was read: the best reading of the same text in the image.
    double reading = 0;
};

// What one image's pass keeps from line to line: the user patterns' time, and what ran
// out of it. The log names patterns by kind and number, never by their text, which may
// itself be sensitive.
struct SensitiveTextDetector::ImagePass
{
    PatternTimeBudget budget;
    qsizetype lineIndex = 0;
    bool lineRanOutOfTime = false;
    bool lineEndsAtACuttingEdge = true;
    QStringList skipped;
    QSet<QUuid> userPatternFindings;

    /// A search that ran and was stopped: the line needs review, and when the stop came
    /// from the image's budget, the pattern is skipped from here on.
    void noteTimedOut(const QString &name)
    {
        lineRanOutOfTime = true;
        if (budget.isSpent())
            noteSkipped(name);
        else
            qCWarning(lcAnalysis).noquote()
                << QStringLiteral("%1 ran out of time on line %2; the line's findings need review").arg(name).arg(lineIndex + 1);
    }
    void noteSkipped(const QString &name)
    {
        if (!skipped.contains(name))
            skipped.append(name);
    }
};

SensitiveTextDetector::SensitiveTextDetector(const CustomDetectionConfiguration &configuration)
    : m_rules(SensitiveTextRuleCatalog::builtInRules())
    , m_policyConfiguration(configuration.policyConfiguration)
    , m_detectorCategoryPreferences(configuration.detectorCategoryPreferences)
{
    m_rules.append(SensitiveTextRuleCatalog::cutOffRules());
    m_rules.append(SensitiveTextRuleCatalog::customRules(configuration.terms, configuration.regexes));
    m_learnedSafeMatchers.reserve(configuration.learnedSafeRules.size());
    for (const LearnedSafeRule &rule : configuration.learnedSafeRules)
        m_learnedSafeMatchers.append(LearnedSafeMatcher(rule));
    for (const QString &entry : configuration.allowlist)
        m_allowlist.insert(unicode::normalizedForComparison(entry));
    m_effectiveActions.reserve(m_rules.size());
    for (const Rule &rule : std::as_const(m_rules))
        m_effectiveActions.append(effectiveAction(rule));
}

std::optional<DetectionSuggestedAction> SensitiveTextDetector::effectiveAction(const Rule &rule) const
{
    const RedactionPolicyDisposition policy =
        m_policyConfiguration.disposition(rule.policyPackID, dispositionOf(rule.suggestedAction));
    return actionOf(m_detectorCategoryPreferences.effectiveDisposition(rule.label, rule.detectorCategory, policy));
}

QString SensitiveTextDetector::logName(qsizetype ruleIndex) const
{
    const QString &label = m_rules[ruleIndex].label;
    const auto sameLabel = std::count_if(m_rules.cbegin(), m_rules.cbegin() + ruleIndex + 1,
                                         [&](const Rule &rule) { return rule.label == label; });
    return QStringLiteral("%1 %2").arg(label).arg(sameLabel);
}

IcuSearch SensitiveTextDetector::search(qsizetype ruleIndex, const QString &line, ImagePass &pass) const
{
    const Rule &rule = m_rules[ruleIndex];
    if (rule.isUserPattern && pass.budget.isSpent()) {
        pass.noteSkipped(logName(ruleIndex));
        return {};
    }
    const IcuSearch search =
        rule.isUserPattern ? pass.budget.search(rule.regex, line) : rule.regex.search(line, kBuiltInRuleStepLimit);
    if (search.timedOut)
        pass.noteTimedOut(logName(ruleIndex));
    return search;
}

bool SensitiveTextDetector::isLearnedSafe(const QString &value, const Rule &rule, ImagePass &pass) const
{
    for (const LearnedSafeMatcher &matcher : m_learnedSafeMatchers) {
        const bool wasSpent = pass.budget.isSpent();
        switch (matcher.judge(value, rule.label, pass.budget)) {
        case LearnedSafeVerdict::safe:
            return true;
        case LearnedSafeVerdict::outOfTime: {
            const QString name = QStringLiteral("Learned rule %1").arg(matcher.rule().id);
            if (wasSpent)
                pass.noteSkipped(name);
            else
                pass.noteTimedOut(name);
            break;
        }
        case LearnedSafeVerdict::notSafe:
            break;
        }
    }
    return false;
}

QList<SensitiveTextDetector::Candidate> SensitiveTextDetector::candidates(qsizetype ruleIndex, const QString &line,
                                                                          ImagePass &pass) const
{
    const Rule &rule = m_rules[ruleIndex];
    QList<Candidate> result;
    for (const IcuMatch &match : search(ruleIndex, line, pass).matches) {
        const QList<IcuMatch::Range> values =
            rule.valueFinder ? rule.valueFinder(line, match) : QList<IcuMatch::Range>{match.group(rule.matchGroup)};
        for (const IcuMatch::Range &range : values) {
            if (!range.isValid() || range.length < 1)
                continue;
            if (!isCodePointBoundary(line, range.start) || !isCodePointBoundary(line, range.end()))
                continue;
            const QString value = line.mid(range.start, range.length);
            const TextRange textRange{range.start, range.length};
            if (rule.validator && !rule.validator(value, line, textRange))
                continue;
            if (m_allowlist.contains(unicode::normalizedForComparison(value)))
                continue;
            if (isLearnedSafe(value, rule, pass))
                continue;
            result.append(Candidate{value, textRange, ruleIndex});
        }
    }
    return result;
}

QList<SensitiveTextDetector::Candidate> SensitiveTextDetector::candidatesOfLine(const TextObservation &observation,
                                                                                ImagePass &pass) const
{
    QList<Candidate> found;
    for (qsizetype i = 0; i < m_rules.size(); ++i) {
        if (!m_effectiveActions[i])
            continue; // The rule is off: its pattern does not run.
        const SensitiveTextRule::Cut cut = m_rules[i].onlyWhereCut;
        if ((cut == SensitiveTextRule::Cut::atStart && !observation.cut().atStart())
            || (cut == SensitiveTextRule::Cut::atEnd && !observation.cut().atEnd())
            || (m_rules[i].onlyAtACuttingEdge && !pass.lineEndsAtACuttingEdge))
            continue;
        for (Candidate &candidate : candidates(i, observation.text(), pass)) {
            // How surely the value itself was read decides, not the rest of its line.
            candidate.reading = observation.confidenceFor(candidate.range);
            found.append(std::move(candidate));
        }
    }
    return found;
}

QList<Detection> SensitiveTextDetector::findingsOfLine(const TextObservation &observation, const QList<Candidate> &found,
                                                       bool ranOutOfTime, ImagePass &pass) const
{
    QList<Contender> findings;
    for (const Candidate &candidate : found) {
        const Rule &rule = m_rules[candidate.rule];
        const double lineSureness = std::min(rule.confidence, observation.confidence());
        const double baseConfidence = std::min(rule.confidence, candidate.reading);
        const double fallbackConfidence = std::min(baseConfidence, kLineFallbackConfidenceCap);
        const DetectionSuggestedAction action =
            candidate.reading < kReviewLineConfidence ? DetectionSuggestedAction::review : *m_effectiveActions[candidate.rule];
        const CoveredText covered = coveredText(observation.text(), candidate.range, rule.boxesWholeRun);
        TextPartBounds bounds = observation.boundsFor(covered.range);
        const bool tight = bounds.precision == DetectionBoundsPrecision::tight;
        if (const TextPartBounds mark = covered.markBefore ? observation.boundsFor(*covered.markBefore) : TextPartBounds{};
            tight && mark.precision == DetectionBoundsPrecision::tight) {
            bounds.bounds = bounds.bounds.united(
                NormRect::fromEdges(mark.bounds.midX(), mark.bounds.minY(), mark.bounds.maxX(), mark.bounds.maxY()));
        }
        if (const TextPartBounds mark = covered.markAfter ? observation.boundsFor(*covered.markAfter) : TextPartBounds{};
            tight && mark.precision == DetectionBoundsPrecision::tight) {
            bounds.bounds = bounds.bounds.united(
                NormRect::fromEdges(mark.bounds.minX(), mark.bounds.minY(), mark.bounds.midX(), mark.bounds.maxY()));
        }
        Contender contender{{}, tight ? lineSureness : std::min(lineSureness, kLineFallbackConfidenceCap), rule.confidence,
                            covered.range.length, !rule.boxesWholeRun};
        Detection &finding = contender.finding;
        finding.id = QUuid::createUuid();
        finding.kind = rule.kind;
        finding.label = rule.label;
        finding.confidence = tight ? baseConfidence : fallbackConfidence;
        finding.normalizedBounds = bounds.bounds;
        finding.source = DetectionSource::deterministic;
        finding.reason = rule.reason;
        finding.matchedText = candidate.value;
        finding.matchedRange = candidate.range;
        finding.suggestedAction = action;
        finding.boundsPrecision = bounds.precision;
        if (rule.isUserPattern)
            pass.userPatternFindings.insert(finding.id);
        findings.append(std::move(contender));
    }

    // A pattern that ran out of time may have missed a value: the line needs a look.
    if (ranOutOfTime) {
        for (Contender &contender : findings)
            contender.finding.suggestedAction = DetectionSuggestedAction::review;
    }

    // A finding of a value alone that loses to an overlapping one leaves its box to the
    // winner: the value stays covered, even where a misread character at the end of a
    // token put part of its ink under the loser's match alone.
    std::stable_sort(findings.begin(), findings.end(), competesBefore);
    QList<Detection> kept;
    for (Contender &contender : findings) {
        const auto winner = std::find_if(kept.begin(), kept.end(), [&](const Detection &other) {
            return overlaps(contender.finding.matchedRange, other.matchedRange);
        });
        if (winner == kept.end())
            kept.append(std::move(contender.finding));
        else if (contender.boxesValueAlone && winner->boundsPrecision == DetectionBoundsPrecision::tight
                 && contender.finding.boundsPrecision == DetectionBoundsPrecision::tight)
            winner->normalizedBounds = winner->normalizedBounds.united(contender.finding.normalizedBounds);
    }
    std::stable_sort(kept.begin(), kept.end(), readsBefore);
    return kept;
}

SensitiveTextFindings SensitiveTextDetector::scan(const QList<TextObservation> &observations) const
{
    ImagePass pass;
    QList<QList<Candidate>> candidates;
    QList<bool> ranOutOfTime;
    const QList<bool> cuttingEdges = endsAtACuttingEdge(observations);
    for (const TextObservation &observation : observations) {
        pass.lineRanOutOfTime = false;
        pass.lineEndsAtACuttingEdge = cuttingEdges[pass.lineIndex];
        candidates.append(candidatesOfLine(observation, pass));
        ranOutOfTime.append(pass.lineRanOutOfTime);
        ++pass.lineIndex;
    }
    // Lines joined across a wrap run on inside one cell: their end is taken to cut.
    pass.lineEndsAtACuttingEdge = true;
    // The same text read on several lines is one value: it is as surely read as its best
    // reading, and all of its findings get one verdict (a tall page with one key on many
    // lines read at slightly different sharpness must not mark most of them Check).
    QHash<QString, double> bestReading;
    for (const QList<Candidate> &line : std::as_const(candidates)) {
        for (const Candidate &candidate : line)
            bestReading[candidate.value] = std::max(bestReading.value(candidate.value, 0.0), candidate.reading);
    }
    QList<QList<Detection>> lineFindings;
    lineFindings.reserve(observations.size());
    for (qsizetype l = 0; l < observations.size(); ++l) {
        for (Candidate &candidate : candidates[l])
            candidate.reading = bestReading.value(candidate.value);
        lineFindings.append(findingsOfLine(observations[l], candidates[l], ranOutOfTime[l], pass));
    }
    // A value wrapped onto the next line of its cell is read from the lines joined.
    const auto joinedFindings = [&](const TextObservation &joined) {
        pass.lineRanOutOfTime = false;
        QList<Candidate> found = candidatesOfLine(joined, pass);
        for (Candidate &candidate : found)
            candidate.reading = std::max(candidate.reading, bestReading.value(candidate.value, 0.0));
        return findingsOfLine(joined, found, pass.lineRanOutOfTime, pass);
    };
    SensitiveTextFindings result;
    result.detections = joinedReadings(withWrappedValues(observations, std::move(lineFindings), joinedFindings));
    result.customPatternSteps = PatternTimeBudget::kStepsPerImage - pass.budget.remainingSteps();
    if (pass.skipped.isEmpty())
        return result;
    qCWarning(lcAnalysis).noquote() << "The image's pattern time ran out; skipped on later lines:"
                                       << pass.skipped.join(QStringLiteral(", "));
    result.customPatternsSkipped = true;
    for (Detection &finding : result.detections) {
        if (pass.userPatternFindings.contains(finding.id))
            finding.suggestedAction = DetectionSuggestedAction::review;
    }
    return result;
}

} // namespace velmora
