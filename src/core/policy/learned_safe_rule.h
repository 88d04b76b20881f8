#pragma once

#include "core/support/raw_enum.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <optional>

namespace velmora {

// Where a learned safe rule was learned: everywhere, or for one folder, project or
// domain. The scope is carried, encoded and compared, but matching does not consult
// it: a rule of any scope applies to every scan.
class LearnedSafeRuleScope
{
public:
    enum class Kind { global, folder, project, domain };

    LearnedSafeRuleScope() = default; ///< global
    static LearnedSafeRuleScope global() { return {}; }
    static LearnedSafeRuleScope folder(QString text) { return {Kind::folder, std::move(text)}; }
    static LearnedSafeRuleScope project(QString text) { return {Kind::project, std::move(text)}; }
    static LearnedSafeRuleScope domain(QString text) { return {Kind::domain, std::move(text)}; }

    Kind kind() const { return m_kind; }
    /// The folder, project or domain; always empty for global.
    const QString &text() const { return m_text; }

    /// {"kind": raw value} for global, {"kind": raw value, "value": text} otherwise.
    QJsonObject toJson() const;
    /// "kind" is required; a missing "value" gives empty text, and global ignores it.
    static std::optional<LearnedSafeRuleScope> fromJson(const QJsonValue &value);

    friend bool operator==(const LearnedSafeRuleScope &, const LearnedSafeRuleScope &) = default;

private:
    LearnedSafeRuleScope(Kind kind, QString text) : m_kind(kind), m_text(std::move(text)) {}

    Kind m_kind = Kind::global;
    QString m_text;
};

// A remembered decision that a text (or any text a pattern finds) is not sensitive,
// optionally for one detector only. The sensitive-text pass drops every candidate that
// a rule matches (LearnedSafeMatcher does the matching).
struct LearnedSafeRule
{
    enum class MatchKind { exactText, pattern };

    QString id; ///< Opaque identity.
    MatchKind matchKind = MatchKind::exactText;
    QString value; ///< The exact text, or the pattern in ICU syntax.
    /// When present the rule applies only to findings with exactly this label.
    std::optional<QString> detectorLabel;
    LearnedSafeRuleScope scope;

    LearnedSafeRule() = default;
    /// Stores `value` without white space and newlines at either end (decoding does not).
    LearnedSafeRule(QString id, MatchKind matchKind, const QString &value, std::optional<QString> detectorLabel,
                    LearnedSafeRuleScope scope);

    QJsonObject toJson() const;
    /// "id", "matchKind", "value" and "scope" are required; "detectorLabel" is optional.
    static std::optional<LearnedSafeRule> fromJson(const QJsonValue &value);

    friend bool operator==(const LearnedSafeRule &, const LearnedSafeRule &) = default;
};

} // namespace velmora

VELMORA_RAW_ENUM(velmora::LearnedSafeRuleScope::Kind,
    {velmora::LearnedSafeRuleScope::Kind::global, "global"},
    {velmora::LearnedSafeRuleScope::Kind::folder, "folder"},
    {velmora::LearnedSafeRuleScope::Kind::project, "project"},
    {velmora::LearnedSafeRuleScope::Kind::domain, "domain"});

VELMORA_RAW_ENUM(velmora::LearnedSafeRule::MatchKind,
    {velmora::LearnedSafeRule::MatchKind::exactText, "exactText"},
    {velmora::LearnedSafeRule::MatchKind::pattern, "pattern"});
