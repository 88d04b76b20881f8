#include "core/settings/settings_watch.h"

#include "core/settings/stored_settings.h"
#include "support/event_loop.h"
#include "support/temp_settings.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// A watch of the two clipboard guard settings whose action reads what it finds.
class SettingsWatchTest : public ::testing::Test
{
protected:
    test::TempSettings settings;
    QObject owner;
    QList<bool> runs; ///< The stored switch, as each run found it.
    SettingsWatch *watch = new SettingsWatch(
        *settings, {Setting::isClipboardProtectionEnabled, Setting::clipboardReplacementModeID},
        [this] { runs << settings->value(Setting::isClipboardProtectionEnabled); }, &owner);
};

TEST_F(SettingsWatchTest, RunsOnceOnTheNextTurnAfterABurstOfWrites)
{
    settings->setValue(Setting::clipboardReplacementModeID, QStringLiteral("reviewFirst"));
    settings->setValue(Setting::isClipboardProtectionEnabled, true);
    EXPECT_TRUE(runs.isEmpty()) << "not inside the writer";
    test::drainEvents();
    EXPECT_EQ(runs, QList<bool>{true});

    settings->remove(Setting::isClipboardProtectionEnabled);
    test::drainEvents();
    EXPECT_EQ(runs, (QList<bool>{true, false}));
}

TEST_F(SettingsWatchTest, OtherKeysAndItsOwnWritesDoNotRunIt)
{
    settings->setValue(Setting::policyPresetID, QStringLiteral("strict"));
    test::drainEvents();
    EXPECT_TRUE(runs.isEmpty());

    int writerRuns = 0;
    SettingsWatch writer(*settings, {Setting::isClipboardProtectionEnabled}, [&] {
        ++writerRuns;
        settings->setValue(Setting::isClipboardProtectionEnabled, true);
    }, nullptr);
    settings->setValue(Setting::isClipboardProtectionEnabled, false);
    test::drainEvents();
    EXPECT_EQ(writerRuns, 1);
    EXPECT_EQ(runs, (QList<bool>{false, true})) << "the other watch's write ran this one again";
}

} // namespace
