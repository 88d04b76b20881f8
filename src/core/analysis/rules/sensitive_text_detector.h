#pragma once

#include "core/analysis/rules/sensitive_text_rule.h"
#include "core/detection/detection.h"
#include "core/detection/detector_category_preferences.h"
#include "core/detection/text_observation.h"
#include "core/detection/custom_detection_configuration.h"
#include "core/policy/learned_safe_matcher.h"
#include "core/policy/redaction_policy_configuration.h"

#include <QList>
#include <QSet>
#include <QString>

#include <optional>

namespace velmora {

/// The text findings of one image, and whether the user's patterns had the time to run.
struct SensitiveTextFindings
{
    QList<Detection> detections;
    /// The image's pattern time budget ran out: some of the user's terms, patterns or
    /// learned rules did not run on every line, and the user patterns' findings are
    /// marked for review.
    bool customPatternsSkipped = false;
    /// The ICU time steps the user's patterns and learned rules took on the image.
    int customPatternSteps = 0;
};

// Turns the recognised lines of one image into text findings: the built-in rules, then
// the user's terms and patterns, under the active policy and the category preferences,
// without allowlisted or learned-safe values, each finding boxed as tightly as the
// line's bounds callback allows. Made from the user's configuration for one scan and
// dropped afterwards; immutable, so any thread may run it. The built-in rules run under
// a step limit that no recognised line reaches; the user's patterns and learned rules
// under the per-line limit and a budget shared over the image (PatternTimeBudget). A line
// on which any pattern ran out of time has its findings marked for review. A value is as
// surely read as the best reading of the same text anywhere in the image, so that its
// findings get one verdict, and a value read twice in lines that overlap (an image that
// sees through is read over two grounds) one finding.
class SensitiveTextDetector
{
public:
    using Rule = SensitiveTextRule;

    explicit SensitiveTextDetector(const CustomDetectionConfiguration &configuration);

    /// ICU time steps per built-in rule and line: far more than any rule takes on the
    /// longest line the recogniser gives.
    static constexpr int kBuiltInRuleStepLimit = 20000;

    /// The findings of every line, line by line in input order and left to right within
    /// a line, with the values that run across a line's wrap (withWrappedValues). Never
    /// fails; lines without matches give nothing.
    SensitiveTextFindings scan(const QList<TextObservation> &observations) const;
    /// The detections of scan.
    QList<Detection> detect(const QList<TextObservation> &observations) const { return scan(observations).detections; }

    /// The built-in rules in catalogue order, then one per term, then one per pattern
    /// that compiles.
    const QList<Rule> &rules() const { return m_rules; }
    /// The allowlist entries, trimmed and lower-cased.
    const QSet<QString> &allowlist() const { return m_allowlist; }

private:
    struct Candidate;
    struct ImagePass;

    /// What the policy and the preferences make of the rule's own action: nothing when
    /// the rule is off. A detector-label override comes first (it even overrides a
    /// switched-off category), then a switched-off category, then a category override,
    /// then the pack's disposition, then the rule's own action.
    std::optional<DetectionSuggestedAction> effectiveAction(const Rule &rule) const;
    /// How the log names a rule: its label and its number among rules of that label.
    QString logName(qsizetype ruleIndex) const;
    IcuSearch search(qsizetype ruleIndex, const QString &line, ImagePass &pass) const;
    QList<Candidate> candidates(qsizetype ruleIndex, const QString &line, ImagePass &pass) const;
    bool isLearnedSafe(const QString &value, const Rule &rule, ImagePass &pass) const;
    /// Every rule's candidates on the line, each with how surely its value was read.
    QList<Candidate> candidatesOfLine(const TextObservation &observation, ImagePass &pass) const;
    QList<Detection> findingsOfLine(const TextObservation &observation, const QList<Candidate> &found, bool ranOutOfTime,
                                    ImagePass &pass) const;

    QList<Rule> m_rules;
    /// Per rule, in rule order: the configuration is fixed, so this is decided once.
    QList<std::optional<DetectionSuggestedAction>> m_effectiveActions;
    QSet<QString> m_allowlist;
    /// Compiled once per scan.
    QList<LearnedSafeMatcher> m_learnedSafeMatchers;
    RedactionPolicyConfiguration m_policyConfiguration;
    DetectorCategoryPreferences m_detectorCategoryPreferences;
};

} // namespace velmora
