#pragma once

#include "core/analysis/rules/sensitive_text_validators.h"
#include "core/detection/detection_enums.h"
#include "core/detection/detector_category.h"
#include "core/policy/redaction_policy_catalog.h"
#include "core/text/icu_pattern.h"

#include <QList>
#include <QString>

namespace velmora {

/// Gives the UTF-16 ranges of the values in one match of a rule's pattern, for rules
/// whose one match can hold several values.
using MatchValueFinder = QList<IcuMatch::Range> (*)(const QString &line, const IcuMatch &match);

// One way of finding sensitive text: a pattern with what its findings are called, how
// sure the detector is of them and what it proposes to do with them. Built-in rules are
// shared read-only by every detector; custom rules live in the detector made for a scan.
struct SensitiveTextRule
{
    DetectionKind kind = DetectionKind::unknown;
    /// The finding's label; the key of per-detector dispositions and learned safe rules.
    QString label;
    QString reason;
    RedactionPolicyPackID policyPackID = RedactionPolicyPackID::custom;
    DetectorCategory detectorCategory = DetectorCategory::custom;
    double confidence = 0;
    IcuPattern regex;
    /// The capture group that forms the finding: 0 is the whole match.
    int matchGroup = 0;
    /// Absent: every match counts.
    sensitive_text::Validator validator = nullptr;
    DetectionSuggestedAction suggestedAction = DetectionSuggestedAction::redact;
    /// Absent: a match gives the one value of `matchGroup`. Present: a match gives the
    /// values it finds, so that a URL carrying several secrets yields each of them.
    MatchValueFinder valueFinder = nullptr;
    /// A term or pattern of the user's: searched under the per-line limit and the
    /// image's shared pattern time budget rather than the built-in rules' own limit.
    bool isUserPattern = false;
    /// True for rules whose value is one opaque token (keys, tokens, JWTs): the
    /// finding's box then spans the whole unbroken run of token characters around the
    /// match, so that a misread character that ends the match early leaves no part of
    /// the token readable, but not the name of a setting before "=" (see
    /// coveredRange). The matched text and range stay the rule's match.
    bool boxesWholeRun = false;
    /// For rules that find what shows of a value cut off at the start or the end of its
    /// line (TextObservation::cut): they search only lines cut off there, and only there.
    enum class Cut { none, atStart, atEnd };
    Cut onlyWhereCut = Cut::none;
    /// For such a rule whose match shows none of the value's own marks (an address's
    /// domain without a dot): only where the line ends at an edge that cuts text off
    /// (endsAtACuttingEdge), not where a window's title is clipped or text merely ends.
    bool onlyAtACuttingEdge = false;
};

} // namespace velmora
