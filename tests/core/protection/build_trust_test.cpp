#include "core/protection/build_trust.h"

#include "support/row_name.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

using Kind = VelmoraBuildTrustKind;

struct TrustRow
{
    const char *name;
    bool debug;
    std::optional<QString> team;
    std::optional<QString> authority;
    std::optional<bool> accepted;
    Kind kind;
    const char *warningStart; ///< Empty: no warning, and only then trusted.
};

class BuildTrustRules : public ::testing::TestWithParam<TrustRow> {};

TEST_P(BuildTrustRules, FirstMatchingRuleWins)
{
    const TrustRow &row = GetParam();
    const VelmoraBuildTrustAssessment assessment =
        VelmoraBuildTrustEvaluator::assess({row.debug, row.team, row.authority, row.accepted});
    EXPECT_EQ(assessment.kind, row.kind);
    const bool trusted = QString::fromLatin1(row.warningStart).isEmpty();
    EXPECT_EQ(assessment.isTrustedForAmbientDistribution, trusted);
    EXPECT_EQ(assessment.userFacingWarning.has_value(), !trusted);
    if (!trusted) {
        EXPECT_TRUE(assessment.userFacingWarning->startsWith(QString::fromLatin1(row.warningStart)))
            << assessment.userFacingWarning->toStdString();
    }
}

const QString developerID = QStringLiteral("Developer ID Application: Orlwick Ltd (AB12CD34EF)");

INSTANTIATE_TEST_SUITE_P(Rows, BuildTrustRules, ::testing::Values(
    TrustRow{"rejectionWinsOverDeveloperID", false, "AB12CD34EF", developerID, false, Kind::gatekeeperRejected,
             "This Velmora build is not accepted by the system."},
    TrustRow{"blankTeamIsUnsigned", false, " \n", developerID, true, Kind::adHocOrUnsigned,
             "This Velmora build is not installed"},
    TrustRow{"noTeam", false, std::nullopt, std::nullopt, std::nullopt, Kind::adHocOrUnsigned,
             "This Velmora build is not installed"},
    TrustRow{"adHocBeforeDeveloperID", false, "AB12CD34EF", QStringLiteral("Ad Hoc and Developer ID Application"),
             std::nullopt, Kind::adHocOrUnsigned, "This Velmora build is not installed"},
    TrustRow{"debugWithDeveloperID", true, "AB12CD34EF", developerID, true, Kind::developmentSigned,
             "Development builds can behave differently"},
    TrustRow{"developmentAuthority", false, "AB12CD34EF", QStringLiteral("Apple Development: someone"), std::nullopt,
             Kind::developmentSigned, "Development builds can behave differently"},
    TrustRow{"developerIDInCapitals", false, "AB12CD34EF", QStringLiteral("DEVELOPER ID APPLICATION: X"), std::nullopt,
             Kind::notarizedDeveloperID, ""},
    TrustRow{"noAuthorityReleaseBuild", false, "AB12CD34EF", std::nullopt, std::nullopt, Kind::unknownSigned,
             "This Velmora build has an unfamiliar origin."}),
    test::rowName);

struct FactsRow
{
    const char *name;
    bool debug;
    const char *prefix;
    Kind kind;
};

class BuildFacts : public ::testing::TestWithParam<FactsRow> {};

TEST_P(BuildFacts, ReadAsTheirKind)
{
    const auto input = buildTrustInput(GetParam().debug, QString::fromLatin1(GetParam().prefix));
    EXPECT_EQ(VelmoraBuildTrustEvaluator::assess(input).kind, GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(Rows, BuildFacts, ::testing::Values(
    FactsRow{"buildTreeRelease", false, "", Kind::adHocOrUnsigned},
    FactsRow{"buildTreeDebug", true, "", Kind::adHocOrUnsigned},
    FactsRow{"installedDebug", true, "/usr", Kind::developmentSigned},
    FactsRow{"installedRelease", false, "/opt", Kind::notarizedDeveloperID}),
    test::rowName);

} // namespace
