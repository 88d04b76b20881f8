#pragma once

#include "core/policy/detector_taxonomy.h"
#include "core/policy/redaction_policy_disposition.h"

#include <QList>
#include <QString>

namespace velmora {

/// A detector that is planned but not built. Backlog ids are a namespace of their own:
/// the same text may also be a catalogue id, naming a different record.
struct DetectorBacklogItem
{
    QString id; ///< kebab-case
    QString label;
    int priority = 0; ///< 1 comes first.
    DetectorTaxonomyGroup taxonomyGroup = DetectorTaxonomyGroup::secrets;
    RedactionPolicyDisposition defaultDisposition = RedactionPolicyDisposition::autoRedact;
    /// The item needs test fixtures before it may become a default detector.
    bool requiresFixturesBeforeDefault = true;

    friend bool operator==(const DetectorBacklogItem &, const DetectorBacklogItem &) = default;
};

namespace DetectorBacklog {

/// The planned detectors in ascending priority, built on first use and shared read-only.
const QList<DetectorBacklogItem> &items();

} // namespace DetectorBacklog

} // namespace velmora
