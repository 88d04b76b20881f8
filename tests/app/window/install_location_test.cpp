#include "app/window/install_location.h"

#include "support/row_name.h"
#include "support/temp_settings.h"

#include <gtest/gtest.h>

using namespace velmora;

struct LocationRow {
    const char *name;
    const char *path;
    bool installed;
};

class InstallLocationTest : public ::testing::TestWithParam<LocationRow> {};

TEST_P(InstallLocationTest, KnowsTheInstalledPrefixes)
{
    EXPECT_EQ(isInstalledLocation(QString::fromLatin1(GetParam().path), "/home/ada"), GetParam().installed);
}

INSTANTIATE_TEST_SUITE_P(Rows, InstallLocationTest, ::testing::Values(
    LocationRow{"usrBin", "/usr/bin/velmora", true},
    LocationRow{"opt", "/opt/velmora/bin/velmora", true},
    LocationRow{"localBin", "/home/ada/.local/bin/velmora", true},
    LocationRow{"buildFolder", "/home/ada/src/velmora/build/src/velmora", false},
    LocationRow{"lookAlikePrefix", "/usrlocal/velmora", false},
    LocationRow{"downloads", "/tmp/velmora", false}),
    test::rowName);

TEST(InstallReminderTest, RaisesOncePerControllerAndRemembersRefusal)
{
    qputenv("VELMORA_UI_TEST_MODE", "1");
    qputenv("VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/tmp/Downloads/velmora");
    test::TempSettings settings;
    ApplicationInstallController controller(*settings, "/usr/bin/velmora");
    int raised = 0;
    QObject::connect(&controller, &ApplicationInstallController::reminderRaised, [&] { ++raised; });
    EXPECT_TRUE(controller.evaluateInstallLocation(false));
    EXPECT_FALSE(controller.evaluateInstallLocation(false));
    EXPECT_EQ(raised, 1);

    controller.resolve(ApplicationInstallController::Answer::dontRemind);
    ApplicationInstallController next(*settings, "/usr/bin/velmora");
    EXPECT_FALSE(next.evaluateInstallLocation(false));

    qputenv("VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/usr/bin/velmora");
    test::TempSettings fresh;
    ApplicationInstallController installed(*fresh, "/tmp/velmora");
    EXPECT_FALSE(installed.evaluateInstallLocation(false));
    qunsetenv("VELMORA_UI_INSTALL_LOCATION_OVERRIDE");
    qunsetenv("VELMORA_UI_TEST_MODE");
}
