#pragma once

#include "core/support/raw_enum.h"

#include <QString>

namespace velmora {

/// The seven groups under which the detector catalogue files every detector.
enum class DetectorTaxonomyGroup {
    secrets,
    personalData,
    financialData,
    governmentIDs,
    companyConfidential,
    visualContent,
    customPolicy,
};

/// The group's display title ("Secrets", "Personal data", ...).
QString title(DetectorTaxonomyGroup group);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::DetectorTaxonomyGroup,
    {velmora::DetectorTaxonomyGroup::secrets, "secrets"},
    {velmora::DetectorTaxonomyGroup::personalData, "personalData"},
    {velmora::DetectorTaxonomyGroup::financialData, "financialData"},
    {velmora::DetectorTaxonomyGroup::governmentIDs, "governmentIDs"},
    {velmora::DetectorTaxonomyGroup::companyConfidential, "companyConfidential"},
    {velmora::DetectorTaxonomyGroup::visualContent, "visualContent"},
    {velmora::DetectorTaxonomyGroup::customPolicy, "customPolicy"});
