#pragma once

#include "core/analysis/rules/sensitive_text_rule.h"

#include <QList>
#include <QStringList>

namespace velmora::SensitiveTextRuleCatalog {

/// The eighteen built-in rules in the order the detector runs them. Built on first use
/// (safe when several threads get there at once) and shared read-only afterwards.
const QList<SensitiveTextRule> &builtInRules();

/// The rules that find what shows of values cut off at the start or the end of their
/// line, each named as the rule of the whole value; they search only lines cut off there
/// (SensitiveTextRule::onlyWhereCut). Shared read-only as the built-in rules are.
const QList<SensitiveTextRule> &cutOffRules();

/// One rule per term, matching the term literally without letter case, also inside
/// longer words, then one per pattern that compiles (patterns that do not compile are
/// left out silently). Terms before patterns, each in list order.
QList<SensitiveTextRule> customRules(const QStringList &terms, const QStringList &regexes);

} // namespace velmora::SensitiveTextRuleCatalog
