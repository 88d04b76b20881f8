#include "app/shell/logging_rules.h"
#include "app/shell/updater.h"

#include <QLoggingCategory>

#include <memory>
#include <gtest/gtest.h>

using namespace velmora;

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
