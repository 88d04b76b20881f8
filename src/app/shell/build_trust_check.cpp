#include "app/shell/build_trust_check.h"

#include "app/kit/log_categories.h"
#include "app/window/install_location.h"

namespace velmora {

bool isDebugBuild()
{
#ifdef NDEBUG
    return false;
#else
    return true;
#endif
}

VelmoraBuildTrustAssessment assessBuild(const QString &executablePath, const QString &homePath, bool isDebugBuild)
{
    return VelmoraBuildTrustEvaluator::assess(buildTrustInput(isDebugBuild, installPrefix(executablePath, homePath)));
}

void logBuildTrust(const VelmoraBuildTrustAssessment &assessment)
{
    if (assessment.isTrustedForAmbientDistribution)
        qCInfo(lcInstall) << "Build trust:" << rawValue(assessment.kind);
    else
        qCWarning(lcInstall) << "Build trust:" << rawValue(assessment.kind) << "-"
                                << assessment.userFacingWarning.value_or(QString());
}

} // namespace velmora
