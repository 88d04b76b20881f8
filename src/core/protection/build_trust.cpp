#include "core/protection/build_trust.h"

#include "core/text/unicode_text.h"

namespace velmora {

namespace {

const QString rejectedWarning = QStringLiteral(
    "This Velmora build is not accepted by the system. Use the installed Velmora release build for notifications, "
    "updates, and distribution testing.");
const QString notInstalledWarning = QStringLiteral(
    "This Velmora build is not installed; it runs from a build or download folder. Use the installed Velmora release "
    "build for notifications, updates, and distribution testing.");
const QString developmentWarning = QStringLiteral(
    "Development builds can behave differently for desktop notifications, updates, and installation checks. Test "
    "ambient protection with the installed Velmora release build.");
const QString unfamiliarWarning = QStringLiteral(
    "This Velmora build has an unfamiliar origin. Use the installed Velmora release build for notifications, updates, "
    "and distribution testing.");

// The authority an installed release build is given: the one the trusted rule names.
// An installed debug build needs none: its configuration alone makes it a development build.
const QString installedReleaseAuthority = QStringLiteral("Developer ID Application: installed release");

} // namespace

namespace VelmoraBuildTrustEvaluator {

VelmoraBuildTrustAssessment assess(const VelmoraBuildTrustInput &input)
{
    using Kind = VelmoraBuildTrustKind;
    const QString authority = input.signingAuthority.value_or(QString()).toLower();
    if (input.gatekeeperAccepted == false)
        return {Kind::gatekeeperRejected, false, rejectedWarning};
    if (!input.teamIdentifier || unicode::trimmed(*input.teamIdentifier).isEmpty())
        return {Kind::adHocOrUnsigned, false, notInstalledWarning};
    if (authority.contains(u"adhoc") || authority.contains(u"ad hoc"))
        return {Kind::adHocOrUnsigned, false, notInstalledWarning};
    if (input.isDebugBuild || authority.contains(u"apple development"))
        return {Kind::developmentSigned, false, developmentWarning};
    if (authority.contains(u"developer id application"))
        return {Kind::notarizedDeveloperID, true, std::nullopt};
    return {Kind::unknownSigned, false, unfamiliarWarning};
}

} // namespace VelmoraBuildTrustEvaluator

VelmoraBuildTrustInput buildTrustInput(bool isDebugBuild, const QString &installPrefix)
{
    VelmoraBuildTrustInput input;
    input.isDebugBuild = isDebugBuild;
    if (installPrefix.isEmpty())
        return input;
    input.teamIdentifier = installPrefix;
    if (!isDebugBuild)
        input.signingAuthority = installedReleaseAuthority;
    return input;
}

} // namespace velmora
