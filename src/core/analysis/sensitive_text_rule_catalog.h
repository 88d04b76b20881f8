#pragma once

#include "core/analysis/sensitive_text_rule.h"

#include <QList>
#include <QStringList>

namespace velmora::SensitiveTextRuleCatalog {

/// The eighteen built-in rules in the order the detector runs them. Built on first use
/// (safe when several threads get there at once) and shared read-only afterwards.
const QList<SensitiveTextRule> &builtInRules();

/// One rule per term, matching the term literally without letter case, also inside
/// longer words, then one per pattern that compiles (patterns that do not compile are
/// left out silently). Terms before patterns, each in list order.
QList<SensitiveTextRule> customRules(const QStringList &terms, const QStringList &regexes);

} // namespace velmora::SensitiveTextRuleCatalog
