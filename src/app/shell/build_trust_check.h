#pragma once

#include "core/protection/build_trust.h"

namespace velmora {

/// Whether this executable was built in a debug configuration.
bool isDebugBuild();

/// The assessment of the build whose executable is at `executablePath`.
VelmoraBuildTrustAssessment assessBuild(const QString &executablePath, const QString &homePath, bool isDebugBuild);

/// Logs the assessment of the running build under the "install" category; the
/// application calls it once at start-up.
void logBuildTrust(const VelmoraBuildTrustAssessment &assessment);

} // namespace velmora
