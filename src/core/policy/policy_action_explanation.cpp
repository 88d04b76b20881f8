#include "core/policy/policy_action_explanation.h"

#include "core/policy/detector_catalog.h"
#include "core/policy/redaction_policy_catalog.h"

namespace velmora {

namespace {

// The policy pack's title when a pack holds the label, else the detector catalogue's
// group title, else the plain word "detector".
QString groupName(const QString &label)
{
    if (const auto pack = RedactionPolicyCatalog::packContainingDetectorLabel(label))
        return pack->title;
    if (const auto entry = DetectorCatalog::entryForLabel(label))
        return title(entry->taxonomyGroup);
    return QStringLiteral("detector");
}

} // namespace

PolicyActionExplanation::PolicyActionExplanation(const RedactionPlanEntry &entry)
{
    const QString &name = entry.detection.label;
    const DetectionSuggestedAction action = entry.detection.suggestedAction;
    if (!entry.isActive) {
        if (action == DetectionSuggestedAction::ignore) {
            label = QStringLiteral("Off by policy");
            detail = name + QStringLiteral(" is ignored for the active ") + groupName(name) + QStringLiteral(" policy.");
        } else {
            label = QStringLiteral("Turned off");
            detail = name + QStringLiteral(" was turned off by the user and will not be included in cleaned output.");
        }
        return;
    }
    switch (action) {
    case DetectionSuggestedAction::redact:
        label = QStringLiteral("Auto-redacted");
        detail = name + QStringLiteral(" matched ") + groupName(name)
            + QStringLiteral("; policy includes it in cleaned output.");
        return;
    case DetectionSuggestedAction::review:
        label = QStringLiteral("Needs review");
        detail = name + QStringLiteral(" matched ") + groupName(name)
            + QStringLiteral("; policy keeps it included but asks you to confirm it before sharing.");
        return;
    case DetectionSuggestedAction::ignore:
        label = QStringLiteral("Included manually");
        detail = name + QStringLiteral(" is included even though the active policy would normally ignore it.");
        return;
    }
}

QString PolicyActionExplanation::text() const
{
    return label + QStringLiteral(": ") + detail;
}

} // namespace velmora
