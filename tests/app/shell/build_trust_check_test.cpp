#include "app/shell/build_trust_check.h"
#include "app/window/install_location.h"

#include "support/row_name.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct PathRow
{
    const char *name;
    const char *executable;
    bool debug;
    const char *prefix;
    VelmoraBuildTrustKind kind;
};

class RunningBuild : public ::testing::TestWithParam<PathRow> {};

TEST_P(RunningBuild, IsAssessedFromItsPathAndConfiguration)
{
    const QString home = QStringLiteral("/home/ada");
    EXPECT_EQ(installPrefix(QString::fromLatin1(GetParam().executable), home), QString::fromLatin1(GetParam().prefix));
    EXPECT_EQ(assessBuild(QString::fromLatin1(GetParam().executable), home, GetParam().debug).kind, GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(Rows, RunningBuild, ::testing::Values(
    PathRow{"buildTree", "/home/ada/src/velmora/build/src/velmora", false, "", VelmoraBuildTrustKind::adHocOrUnsigned},
    PathRow{"installedDebug", "/usr/local/bin/velmora", true, "/usr", VelmoraBuildTrustKind::developmentSigned},
    PathRow{"userInstalledRelease", "/home/ada/.local/bin/velmora", false, "/home/ada/.local",
            VelmoraBuildTrustKind::notarizedDeveloperID},
    PathRow{"lookalikePrefix", "/usrlocal/velmora", false, "", VelmoraBuildTrustKind::adHocOrUnsigned}),
    test::rowName);

} // namespace
