#include "core/policy/learned_safe_rule.h"

#include "core/support/json_reading.h"
#include "core/text/unicode_text.h"

namespace velmora {

namespace {
const auto kKindKey = QLatin1String("kind");
const auto kValueKey = QLatin1String("value");
const auto kIdKey = QLatin1String("id");
const auto kMatchKindKey = QLatin1String("matchKind");
const auto kDetectorLabelKey = QLatin1String("detectorLabel");
const auto kScopeKey = QLatin1String("scope");
} // namespace

QJsonObject LearnedSafeRuleScope::toJson() const
{
    QJsonObject object{{kKindKey, rawValue(m_kind)}};
    if (m_kind != Kind::global)
        object.insert(kValueKey, m_text);
    return object;
}

std::optional<LearnedSafeRuleScope> LearnedSafeRuleScope::fromJson(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const auto kind = json::rawEnum<Kind>(object.value(kKindKey));
    if (!kind)
        return std::nullopt;
    if (*kind == Kind::global)
        return global();
    QString text;
    if (!json::readOptional(object, kValueKey, text, json::string))
        return std::nullopt;
    return LearnedSafeRuleScope(*kind, text);
}

LearnedSafeRule::LearnedSafeRule(QString id, MatchKind matchKind, const QString &value,
                                 std::optional<QString> detectorLabel, LearnedSafeRuleScope scope)
    : id(std::move(id)), matchKind(matchKind), value(unicode::trimmed(value)),
      detectorLabel(std::move(detectorLabel)), scope(std::move(scope))
{
}

QJsonObject LearnedSafeRule::toJson() const
{
    QJsonObject object{{kIdKey, id},
                       {kMatchKindKey, rawValue(matchKind)},
                       {kValueKey, value},
                       {kScopeKey, scope.toJson()}};
    if (detectorLabel)
        object.insert(kDetectorLabelKey, *detectorLabel);
    return object;
}

std::optional<LearnedSafeRule> LearnedSafeRule::fromJson(const QJsonValue &encoded)
{
    if (!encoded.isObject())
        return std::nullopt;
    const QJsonObject object = encoded.toObject();
    const auto id = json::string(object.value(kIdKey));
    const auto matchKind = json::rawEnum<MatchKind>(object.value(kMatchKindKey));
    const auto value = json::string(object.value(kValueKey));
    const auto scope = LearnedSafeRuleScope::fromJson(object.value(kScopeKey));
    if (!id || !matchKind || !value || !scope)
        return std::nullopt;
    LearnedSafeRule rule;
    rule.id = *id;
    rule.matchKind = *matchKind;
    rule.value = *value; // Stored as written: only the initialiser trims.
    rule.scope = *scope;
    if (!json::readOptional(object, kDetectorLabelKey, rule.detectorLabel, json::string))
        return std::nullopt;
    return rule;
}

} // namespace velmora
