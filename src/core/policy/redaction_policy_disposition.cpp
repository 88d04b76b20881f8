#include "core/policy/redaction_policy_disposition.h"

namespace velmora {

QString title(RedactionPolicyDisposition disposition)
{
    switch (disposition) {
    case RedactionPolicyDisposition::autoRedact:
        return QStringLiteral("Redact");
    case RedactionPolicyDisposition::needsReview:
        return QStringLiteral("Review");
    case RedactionPolicyDisposition::ignore:
        return QStringLiteral("Off");
    }
    return {};
}

QString helpText(RedactionPolicyDisposition disposition)
{
    switch (disposition) {
    case RedactionPolicyDisposition::autoRedact:
        return QStringLiteral("Included in cleaned output automatically.");
    case RedactionPolicyDisposition::needsReview:
        return QStringLiteral("Flagged for review before sharing.");
    case RedactionPolicyDisposition::ignore:
        return QStringLiteral("Does not create new findings.");
    }
    return {};
}

} // namespace velmora
