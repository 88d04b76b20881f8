#include "app/review/review_status_text.h"

#include "app/review/finding_queries.h"
#include "core/policy/redaction_policy_catalog.h"
#include "core/redaction/needs_review.h"

#include <algorithm>

namespace velmora {

QString reviewHint(const RedactionPlan &plan)
{
    const auto &entries = plan.entries();
    if (entries.isEmpty())
        return QStringLiteral("No obvious sensitive content found. Review the image manually before sharing.");
    if (std::none_of(entries.begin(), entries.end(), [](const RedactionPlanEntry &entry) { return entry.isActive; }))
        return QStringLiteral("All findings are off. Copy or export still creates a flattened cleaned image.");
    if (const int count = needsReviewEntries(plan); count > 0)
        return count == 1 ? QStringLiteral("1 detection needs closer review before export.")
                          : QStringLiteral("%1 detections need closer review before export.").arg(count);
    return QStringLiteral("Review the boxes, then export a cleaned image or copy a PNG.");
}

QString withSkippedPatternsNote(const QString &sentence, bool customPatternsSkipped)
{
    return customPatternsSkipped ? sentence + u' ' + ReviewText::customPatternsSkipped : sentence;
}

QString findingsSummaryText(const RedactionPlan &plan, bool hasImage)
{
    if (plan.entries().isEmpty())
        return hasImage ? QStringLiteral("No findings yet.") : QStringLiteral("Open an image to start.");
    const int active = activeEntryCount(plan);
    if (const int check = needsReviewEntries(plan); check > 0)
        return QStringLiteral("%1 will redact - %2 to check").arg(active).arg(check);
    return QStringLiteral("%1 will redact - %2 visible").arg(active).arg(inactiveFindingCount(plan));
}

QString findingNoun(int count)
{
    return count == 1 ? QStringLiteral("finding") : QStringLiteral("findings");
}

QString counted(qsizetype count, const QString &singular, const QString &plural)
{
    return QString::number(count) + u' ' + (count == 1 ? singular : plural);
}

QString reviewWarningMessage(int count)
{
    return QStringLiteral("%1 marked for redaction still %2 checking. "
                          "Preview the cleaned output before sharing when possible.")
        .arg(counted(count, QStringLiteral("finding"), QStringLiteral("findings")),
             count == 1 ? QStringLiteral("needs") : QStringLiteral("need"));
}

QString skippedFilesText(int count)
{
    return count == 1 ? QStringLiteral("1 image file could not be opened and was skipped.")
                      : QStringLiteral("%1 image files could not be opened and were skipped.").arg(count);
}

QString policySourceLabel(QStringView policySource, QStringView policyPresetID)
{
    if (policySource == u"managed")
        return QStringLiteral("Managed by team policy");
    if (policySource == u"imported")
        return QStringLiteral("Imported policy");
    if (const std::optional<RedactionPolicyPresetID> preset = presetIDFromIdentifier(policyPresetID))
        return RedactionPolicyCatalog::preset(*preset).title;
    return QStringLiteral("Current defaults");
}

} // namespace velmora
