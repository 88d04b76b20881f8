#include "app/shell/app_version.h"
#include "app/shell/command_bus.h"
#include "app/shell/install_location.h"
#include "app/shell/logging_rules.h"
#include "app/shell/updater.h"

#include "support/row_name.h"
#include "support/temp_settings.h"

#include <QDir>
#include <QLoggingCategory>

#include <memory>
#include <gtest/gtest.h>

using namespace velmora;

TEST(CommandBusTest, DeliversOnlyTheObservedName)
{
    QObject context;
    QVariant received;
    int calls = 0;
    CommandBus::instance().observe(QStringLiteral("velmoraUndoManualEdit"), &context,
                                   [&](const QVariant &object, const QVariantMap &) {
                                       received = object;
                                       ++calls;
                                   });
    CommandBus::instance().post(QStringLiteral("velmoraRedoManualEdit"));
    CommandBus::instance().post(QStringLiteral("velmoraUndoManualEdit"), 7);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(received.toInt(), 7);
}

TEST(AppVersionTest, FallsBackWhenUnknown)
{
    EXPECT_EQ(appVersionString("1.2.0", "45"), "1.2.0 (45)");
    EXPECT_EQ(appVersionString("", ""), "0.0.0 (0)");
    EXPECT_TRUE(appVersionString().endsWith(')'));
}

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

TEST(UpdaterTest, NeverRunsWithoutFeedOrInTestMode)
{
    Updater noFeed(QUrl(), QVersionNumber(1, 0, 0));
    EXPECT_FALSE(noFeed.canCheckForUpdates());
    qputenv("VELMORA_UI_TEST_MODE", "1");
    Updater testMode(QUrl("https://updates.invalid/feed.json"), QVersionNumber(1, 0, 0));
    EXPECT_FALSE(testMode.canCheckForUpdates());
    qunsetenv("VELMORA_UI_TEST_MODE");
    const std::unique_ptr<Updater> built(Updater::forThisBuild(nullptr));
    EXPECT_FALSE(built->canCheckForUpdates()); // No feed is built in.
}

TEST(UpdaterTest, ComparesTheFeedVersion)
{
    const auto newer = Updater::evaluateFeed(R"({"version":"1.3.0","downloadURL":"https://x.invalid/v"})",
                                             QVersionNumber(1, 2, 0));
    EXPECT_TRUE(newer.succeeded);
    EXPECT_EQ(newer.message, "Velmora 1.3.0 is available.");
    EXPECT_EQ(newer.downloadURL, QUrl("https://x.invalid/v"));
    const auto same = Updater::evaluateFeed(R"({"version":"1.2.0"})", QVersionNumber(1, 2, 0));
    EXPECT_EQ(same.message, "Velmora 1.2.0 is up to date.");
    EXPECT_FALSE(Updater::evaluateFeed("not json", QVersionNumber(1, 2, 0)).succeeded);
}

namespace {

TEST(LoggingRules, OwnCategoriesReportWarningsOnly)
{
    velmora::useWarningsOnlyLogging();
    QLoggingCategory category("com.orlwick.kavri.ocr");
    EXPECT_FALSE(category.isDebugEnabled());
    EXPECT_FALSE(category.isInfoEnabled());
    EXPECT_TRUE(category.isWarningEnabled());
    EXPECT_TRUE(QLoggingCategory("other.library").isInfoEnabled());
    QLoggingCategory::setFilterRules(QString());
}

} // namespace
