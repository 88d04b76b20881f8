#pragma once

#include "core/detection/detector_category_preferences.h"
#include "core/policy/learned_safe_rule.h"
#include "core/policy/redaction_policy_configuration.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QStringList>

#include <optional>

namespace velmora {

// Everything the user has said about detection: custom terms and patterns, the
// allowlist, the policy, the category preferences and the learned safe rules. Every
// scan is configured from one such value, and the portable settings file carries it.
// Made and decoded normalised: the lists are trimmed, hold no empty entries and no
// duplicates (terms and allowlist without regard to letter case). The fields stay
// writable; whoever changes them directly keeps that invariant.
struct CustomDetectionConfiguration
{
    QStringList terms;
    QStringList regexes;
    QStringList allowlist;
    RedactionPolicyConfiguration policyConfiguration;
    DetectorCategoryPreferences detectorCategoryPreferences;
    QList<LearnedSafeRule> learnedSafeRules;

    /// The default: empty lists, the empty policy and the default preferences.
    CustomDetectionConfiguration() = default;
    /// The normalised value of the arguments.
    CustomDetectionConfiguration(const QStringList &terms, const QStringList &regexes, const QStringList &allowlist,
                                 RedactionPolicyConfiguration policyConfiguration,
                                 DetectorCategoryPreferences detectorCategoryPreferences,
                                 const QList<LearnedSafeRule> &learnedSafeRules);

    static const CustomDetectionConfiguration &defaultConfiguration();

    /// The patterns that do not compile (with no options), in list order. They are
    /// reported, never removed: the detector skips them.
    QStringList invalidRegexes() const;

    /// Writes all six keys, empty lists included.
    QJsonObject toJson() const;
    /// Every key optional (missing or null gives its default); nothing when a present
    /// key, or anything nested in it, has the wrong form. The result is normalised.
    static std::optional<CustomDetectionConfiguration> fromJson(const QJsonValue &value);

    friend bool operator==(const CustomDetectionConfiguration &, const CustomDetectionConfiguration &) = default;

private:
    void normalize();
};

} // namespace velmora
