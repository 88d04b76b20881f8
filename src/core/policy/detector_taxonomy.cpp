#include "core/policy/detector_taxonomy.h"

namespace velmora {

QString title(DetectorTaxonomyGroup group)
{
    switch (group) {
    case DetectorTaxonomyGroup::secrets:
        return QStringLiteral("Secrets");
    case DetectorTaxonomyGroup::personalData:
        return QStringLiteral("Personal data");
    case DetectorTaxonomyGroup::financialData:
        return QStringLiteral("Financial data");
    case DetectorTaxonomyGroup::governmentIDs:
        return QStringLiteral("Government IDs");
    case DetectorTaxonomyGroup::companyConfidential:
        return QStringLiteral("Company confidential");
    case DetectorTaxonomyGroup::visualContent:
        return QStringLiteral("Visual content");
    case DetectorTaxonomyGroup::customPolicy:
        return QStringLiteral("Custom policy");
    }
    return {};
}

} // namespace velmora
