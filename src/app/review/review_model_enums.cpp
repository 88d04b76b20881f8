#include "app/review/review_model_enums.h"

namespace velmora {

QString title(FindingCategory category)
{
    switch (category) {
    case FindingCategory::secrets: return QStringLiteral("Secrets");
    case FindingCategory::emails: return QStringLiteral("Emails");
    case FindingCategory::people: return QStringLiteral("People");
    case FindingCategory::visualCodes: return QStringLiteral("Visual codes");
    case FindingCategory::customerAccount: return QStringLiteral("Customer/account");
    case FindingCategory::infrastructure: return QStringLiteral("Infrastructure");
    case FindingCategory::payments: return QStringLiteral("Payments");
    case FindingCategory::phones: return QStringLiteral("Phones");
    case FindingCategory::review: return QStringLiteral("Review");
    }
    return {};
}

QString title(FindingFilter filter)
{
    switch (filter) {
    case FindingFilter::all: return QStringLiteral("All");
    case FindingFilter::needsReview: return QStringLiteral("Check");
    case FindingFilter::included: return QStringLiteral("Redact");
    case FindingFilter::off: return QStringLiteral("Visible");
    }
    return {};
}

QString title(BatchReviewFilter filter)
{
    switch (filter) {
    case BatchReviewFilter::all: return QStringLiteral("All images");
    case BatchReviewFilter::findings: return QStringLiteral("Findings");
    case BatchReviewFilter::clean: return QStringLiteral("Clean");
    }
    return {};
}

} // namespace velmora
