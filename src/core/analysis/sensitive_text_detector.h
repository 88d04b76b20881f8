#pragma once

#include "core/analysis/sensitive_text_rule.h"
#include "core/detection/detection.h"
#include "core/detection/detector_category_preferences.h"
#include "core/detection/text_observation.h"
#include "core/detection/custom_detection_configuration.h"
#include "core/policy/learned_safe_rule.h"
#include "core/policy/redaction_policy_configuration.h"

#include <QList>
#include <QSet>
#include <QString>

#include <optional>

namespace velmora {

// Turns the recognised lines of one image into text findings: the built-in rules, then
// the user's terms and patterns, under the active policy and the category preferences,
// without allowlisted or learned-safe values, each finding boxed as tightly as the
// line's bounds callback allows. Made from the user's configuration for one scan and
// dropped afterwards; immutable, so any thread may run it.
class SensitiveTextDetector
{
public:
    using Rule = SensitiveTextRule;

    explicit SensitiveTextDetector(const CustomDetectionConfiguration &configuration);

    /// The findings of every line, line by line in input order and left to right within
    /// a line. Never fails; lines without matches give nothing.
    QList<Detection> detect(const QList<TextObservation> &observations) const;

    /// The built-in rules in catalogue order, then one per term, then one per pattern
    /// that compiles.
    const QList<Rule> &rules() const { return m_rules; }
    /// The allowlist entries, trimmed and lower-cased.
    const QSet<QString> &allowlist() const { return m_allowlist; }

private:
    struct Candidate;

    /// What the policy and the preferences make of the rule's own action: nothing when
    /// the rule is off. A detector-label override comes first (it even overrides a
    /// switched-off category), then a switched-off category, then a category override,
    /// then the pack's disposition, then the rule's own action.
    std::optional<DetectionSuggestedAction> effectiveAction(const Rule &rule) const;
    QList<Candidate> candidates(const Rule &rule, const QString &line) const;
    QList<Detection> findingsOfLine(const TextObservation &observation) const;

    QList<Rule> m_rules;
    /// Per rule, in rule order: the configuration is fixed, so this is decided once.
    QList<std::optional<DetectionSuggestedAction>> m_effectiveActions;
    QSet<QString> m_allowlist;
    QList<LearnedSafeRule> m_learnedSafeRules;
    RedactionPolicyConfiguration m_policyConfiguration;
    DetectorCategoryPreferences m_detectorCategoryPreferences;
};

} // namespace velmora
