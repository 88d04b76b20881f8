#include "core/detection/detector_category.h"

#include "core/detection/detection.h"

namespace velmora {

QString title(DetectorCategory category)
{
    switch (category) {
    case DetectorCategory::emails:
        return QStringLiteral("Emails");
    case DetectorCategory::phones:
        return QStringLiteral("Phones");
    case DetectorCategory::cards:
        return QStringLiteral("Cards");
    case DetectorCategory::ipAddresses:
        return QStringLiteral("IPs");
    case DetectorCategory::secrets:
        return QStringLiteral("Secrets/API keys");
    case DetectorCategory::highEntropy:
        return QStringLiteral("High-entropy strings");
    case DetectorCategory::visualCodes:
        return QStringLiteral("QR/barcodes");
    case DetectorCategory::faces:
        return QStringLiteral("Faces");
    case DetectorCategory::customerAccount:
        return QStringLiteral("Customer/account data");
    case DetectorCategory::custom:
        return QStringLiteral("Custom terms/regexes");
    }
    return {};
}

QString summary(DetectorCategory category)
{
    switch (category) {
    case DetectorCategory::emails:
        return QStringLiteral("Visible email addresses.");
    case DetectorCategory::phones:
        return QStringLiteral("Phone-number-like values with clear formatting, country code, or phone context.");
    case DetectorCategory::cards:
        return QStringLiteral("Payment-card-like numbers that pass Luhn validation.");
    case DetectorCategory::ipAddresses:
        return QStringLiteral("IPv4 addresses visible in screenshots.");
    case DetectorCategory::secrets:
        return QStringLiteral("Known token formats, API keys, bearer tokens, JWTs, URL tokens, and "
                              "secret-looking environment variables.");
    case DetectorCategory::highEntropy:
        return QStringLiteral("Random-looking strings. Velmora treats generic matches as Check, not automatic "
                              "high-confidence redaction.");
    case DetectorCategory::visualCodes:
        return QStringLiteral("QR codes and common barcodes detected locally.");
    case DetectorCategory::faces:
        return QStringLiteral("Faces detected locally.");
    case DetectorCategory::customerAccount:
        return QStringLiteral("Visible customer, account, tenant, or workspace identifiers.");
    case DetectorCategory::custom:
        return QStringLiteral("Your local terms, regexes, and visible confidentiality labels.");
    }
    return {};
}

DetectorTaxonomyGroup taxonomyGroup(DetectorCategory category)
{
    switch (category) {
    case DetectorCategory::emails:
    case DetectorCategory::phones:
    case DetectorCategory::ipAddresses:
        return DetectorTaxonomyGroup::personalData;
    case DetectorCategory::cards:
        return DetectorTaxonomyGroup::financialData;
    case DetectorCategory::secrets:
    case DetectorCategory::highEntropy:
        return DetectorTaxonomyGroup::secrets;
    case DetectorCategory::visualCodes:
    case DetectorCategory::faces:
        return DetectorTaxonomyGroup::visualContent;
    case DetectorCategory::customerAccount:
        return DetectorTaxonomyGroup::companyConfidential;
    case DetectorCategory::custom:
        return DetectorTaxonomyGroup::customPolicy;
    }
    return DetectorTaxonomyGroup::customPolicy;
}

RedactionPolicyDisposition defaultDisposition(DetectorCategory category)
{
    switch (category) {
    case DetectorCategory::ipAddresses:
    case DetectorCategory::highEntropy:
    case DetectorCategory::customerAccount: return RedactionPolicyDisposition::needsReview;
    case DetectorCategory::emails:
    case DetectorCategory::phones:
    case DetectorCategory::cards:
    case DetectorCategory::secrets:
    case DetectorCategory::visualCodes:
    case DetectorCategory::faces:
    case DetectorCategory::custom: break;
    }
    return RedactionPolicyDisposition::autoRedact;
}

DetectorCategory detectorCategory(const Detection &detection)
{
    switch (detection.kind) {
    case DetectionKind::apiKey:
    case DetectionKind::url:
        return DetectorCategory::secrets;
    case DetectionKind::secret:
        return detection.label == u"High-entropy secret" ? DetectorCategory::highEntropy : DetectorCategory::secrets;
    case DetectionKind::email:
        return DetectorCategory::emails;
    case DetectionKind::phoneNumber:
        return DetectorCategory::phones;
    case DetectionKind::creditCard:
        return DetectorCategory::cards;
    case DetectionKind::ipAddress:
        return DetectorCategory::ipAddresses;
    case DetectionKind::barcode:
        return DetectorCategory::visualCodes;
    case DetectionKind::face:
        return DetectorCategory::faces;
    case DetectionKind::unknown:
        return detection.label == u"Account/customer ID" ? DetectorCategory::customerAccount
                                                         : DetectorCategory::custom;
    }
    return DetectorCategory::custom;
}

} // namespace velmora
