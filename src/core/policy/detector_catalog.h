#pragma once

#include "core/policy/detector_taxonomy.h"
#include "core/policy/redaction_policy_disposition.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace velmora {

/// One detector the system knows, built or not yet.
struct DetectorCatalogEntry
{
    QString id;    ///< Stable kebab-case id, unique in the catalogue.
    QString label; ///< The label its findings carry, compared exactly.
    DetectorTaxonomyGroup taxonomyGroup = DetectorTaxonomyGroup::secrets;
    RedactionPolicyDisposition defaultDisposition = RedactionPolicyDisposition::autoRedact;
    bool implemented = false;
    QStringList aliases; ///< Other names for what it covers; never searched by label.

    friend bool operator==(const DetectorCatalogEntry &, const DetectorCatalogEntry &) = default;
};

// The fixed catalogue of detectors, built on first use and shared read-only. Its groups
// are a taxonomy of its own, not the policy packs: the explanation of a finding falls
// back to it for detectors that belong to no pack.
namespace DetectorCatalog {

const QList<DetectorCatalogEntry> &entries();
/// The first entry whose label equals `label` exactly (ids and aliases are not searched).
std::optional<DetectorCatalogEntry> entryForLabel(QStringView label);

} // namespace DetectorCatalog

} // namespace velmora
