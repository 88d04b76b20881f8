#include "core/detection/custom_detection_configuration.h"

#include "core/support/json_reading.h"
#include "core/text/icu_pattern.h"
#include "core/text/unicode_text.h"

#include <QJsonArray>
#include <QSet>

namespace velmora {

namespace {

const auto kTermsKey = QLatin1String("terms");
const auto kRegexesKey = QLatin1String("regexes");
const auto kAllowlistKey = QLatin1String("allowlist");
const auto kPolicyKey = QLatin1String("policyConfiguration");
const auto kPreferencesKey = QLatin1String("detectorCategoryPreferences");
const auto kLearnedSafeRulesKey = QLatin1String("learnedSafeRules");

enum class LetterCase { ignored, significant };

/// Trimmed, non-empty entries, the first of each key kept in input order.
QStringList normalizedList(const QStringList &entries, LetterCase letterCase)
{
    QStringList result;
    QSet<QString> seen;
    for (const QString &entry : entries) {
        const QString trimmed = unicode::trimmed(entry);
        if (trimmed.isEmpty())
            continue;
        const QString key = letterCase == LetterCase::ignored ? unicode::lowercased(trimmed) : trimmed;
        if (!seen.contains(key)) {
            seen.insert(key);
            result.append(trimmed);
        }
    }
    return result;
}

/// Two rules are duplicates when they match the same way, the same value (ignoring
/// surrounding space and letter case), for the same label (absent and empty alike), in
/// the same scope. The id takes no part.
QString duplicateKey(const LearnedSafeRule &rule)
{
    // A global scope has no text, so "kind:text" tells every two scopes apart.
    const QString scope = rawValue(rule.scope.kind()) + u':' + rule.scope.text();
    return QStringList{rawValue(rule.matchKind), unicode::normalizedForComparison(rule.value),
                       rule.detectorLabel.value_or(QString()), scope}
        .join(QChar(0x1F));
}

QList<LearnedSafeRule> normalizedRules(const QList<LearnedSafeRule> &rules)
{
    QList<LearnedSafeRule> result;
    QSet<QString> seen;
    for (const LearnedSafeRule &rule : rules) {
        // Only a truly empty value goes: a value of blanks is a (decoded) rule of its own.
        if (rule.value.isEmpty())
            continue;
        const QString key = duplicateKey(rule);
        if (!seen.contains(key)) {
            seen.insert(key);
            result.append(rule);
        }
    }
    return result;
}

std::optional<QList<LearnedSafeRule>> decodeRules(const QJsonValue &value)
{
    if (!value.isArray())
        return std::nullopt;
    QList<LearnedSafeRule> rules;
    for (const QJsonValue element : value.toArray()) {
        const auto rule = LearnedSafeRule::fromJson(element);
        if (!rule)
            return std::nullopt;
        rules.append(*rule);
    }
    return rules;
}

} // namespace

CustomDetectionConfiguration::CustomDetectionConfiguration(const QStringList &terms, const QStringList &regexes,
                                                           const QStringList &allowlist,
                                                           RedactionPolicyConfiguration policyConfiguration,
                                                           DetectorCategoryPreferences detectorCategoryPreferences,
                                                           const QList<LearnedSafeRule> &learnedSafeRules)
    : terms(terms), regexes(regexes), allowlist(allowlist), policyConfiguration(std::move(policyConfiguration)),
      detectorCategoryPreferences(std::move(detectorCategoryPreferences)), learnedSafeRules(learnedSafeRules)
{
    normalize();
}

const CustomDetectionConfiguration &CustomDetectionConfiguration::defaultConfiguration()
{
    static const CustomDetectionConfiguration configuration;
    return configuration;
}

void CustomDetectionConfiguration::normalize()
{
    terms = normalizedList(terms, LetterCase::ignored);
    regexes = normalizedList(regexes, LetterCase::significant);
    allowlist = normalizedList(allowlist, LetterCase::ignored);
    learnedSafeRules = normalizedRules(learnedSafeRules);
}

QStringList CustomDetectionConfiguration::invalidRegexes() const
{
    QStringList invalid;
    for (const QString &pattern : regexes) {
        if (!IcuPattern::compile(pattern))
            invalid.append(pattern);
    }
    return invalid;
}

QJsonObject CustomDetectionConfiguration::toJson() const
{
    QJsonArray rules;
    for (const LearnedSafeRule &rule : learnedSafeRules)
        rules.append(rule.toJson());
    return {{kTermsKey, QJsonArray::fromStringList(terms)},
            {kRegexesKey, QJsonArray::fromStringList(regexes)},
            {kAllowlistKey, QJsonArray::fromStringList(allowlist)},
            {kPolicyKey, policyConfiguration.toJson()},
            {kPreferencesKey, detectorCategoryPreferences.toJson()},
            {kLearnedSafeRulesKey, rules}};
}

std::optional<CustomDetectionConfiguration> CustomDetectionConfiguration::fromJson(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    CustomDetectionConfiguration configuration;
    const bool decoded = json::readOptional(object, kTermsKey, configuration.terms, json::stringList)
                         && json::readOptional(object, kRegexesKey, configuration.regexes, json::stringList)
                         && json::readOptional(object, kAllowlistKey, configuration.allowlist, json::stringList)
                         && json::readOptional(object, kPolicyKey, configuration.policyConfiguration,
                                         RedactionPolicyConfiguration::fromJson)
                         && json::readOptional(object, kPreferencesKey, configuration.detectorCategoryPreferences,
                                         DetectorCategoryPreferences::fromJson)
                         && json::readOptional(object, kLearnedSafeRulesKey, configuration.learnedSafeRules, decodeRules);
    if (!decoded)
        return std::nullopt;
    configuration.normalize();
    return configuration;
}

} // namespace velmora
