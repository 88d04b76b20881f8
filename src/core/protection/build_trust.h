#pragma once

#include "core/support/raw_enum.h"

#include <QString>

#include <optional>

namespace velmora {

/// What kind of build is running, as far as its origin tells.
enum class VelmoraBuildTrustKind { notarizedDeveloperID, developmentSigned, adHocOrUnsigned, gatekeeperRejected, unknownSigned };

// The facts the assessment is made from. Here they come from the build itself (see
// buildTrustInput): the install prefix stands in for the team identifier and the build
// configuration with the installed origin for the signing authority.
struct VelmoraBuildTrustInput
{
    bool isDebugBuild = false;
    std::optional<QString> teamIdentifier;
    std::optional<QString> signingAuthority;
    std::optional<bool> gatekeeperAccepted; ///< Absent: not checked.

    friend bool operator==(const VelmoraBuildTrustInput &, const VelmoraBuildTrustInput &) = default;
};

struct VelmoraBuildTrustAssessment
{
    VelmoraBuildTrustKind kind = VelmoraBuildTrustKind::unknownSigned;
    bool isTrustedForAmbientDistribution = false;
    std::optional<QString> userFacingWarning;

    friend bool operator==(const VelmoraBuildTrustAssessment &, const VelmoraBuildTrustAssessment &) = default;
};

namespace VelmoraBuildTrustEvaluator {

/// The first rule that matches: a rejection by the system, no origin, an ad-hoc origin,
/// a development build, an installed release (the only trusted kind), anything else.
VelmoraBuildTrustAssessment assess(const VelmoraBuildTrustInput &input);

} // namespace VelmoraBuildTrustEvaluator

/// The facts of a running build: a debug or release configuration, and the install
/// prefix its executable lies under (empty when it runs from a build or download
/// folder). An installed release reads as the trusted kind.
VelmoraBuildTrustInput buildTrustInput(bool isDebugBuild, const QString &installPrefix);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::VelmoraBuildTrustKind,
    {velmora::VelmoraBuildTrustKind::notarizedDeveloperID, "notarizedDeveloperID"},
    {velmora::VelmoraBuildTrustKind::developmentSigned, "developmentSigned"},
    {velmora::VelmoraBuildTrustKind::adHocOrUnsigned, "adHocOrUnsigned"},
    {velmora::VelmoraBuildTrustKind::gatekeeperRejected, "gatekeeperRejected"},
    {velmora::VelmoraBuildTrustKind::unknownSigned, "unknownSigned"});
