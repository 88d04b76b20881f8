#include "core/protection/protection_status.h"

#include "support/row_name.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

using Mode = VelmoraCaptureOutputMode;
using Readiness = ScreenshotProtectionReadiness;

struct CaptureRow
{
    const char *name;
    Mode mode;
    bool folderSelected, shortcutsEnabled, needsPermission;
    Readiness readiness;
    const char *detail;
};

class CaptureRail : public ::testing::TestWithParam<CaptureRow> {};

TEST_P(CaptureRail, FirstMatchingRuleWins)
{
    ScreenshotProtectionStatusInput input;
    input.captureOutputMode = GetParam().mode;
    input.captureSaveFolderSelected = GetParam().folderSelected;
    input.captureShortcutsEnabled = GetParam().shortcutsEnabled;
    input.captureNeedsPermission = GetParam().needsPermission;
    const ScreenshotProtectionStatusItem item = ScreenshotProtectionStatusBuilder::captureItem(input);
    EXPECT_EQ(item.rail, ScreenshotProtectionRail::velmoraCapture);
    EXPECT_EQ(item.readiness, GetParam().readiness);
    EXPECT_EQ(item.detail, QString::fromUtf8(GetParam().detail));
}

INSTANTIATE_TEST_SUITE_P(Rows, CaptureRail, ::testing::Values(
    CaptureRow{"permissionBeforeMissingFolder", Mode::saveCleanedPNG, false, true, true, Readiness::needsPermission,
               "Allow screen capture in your desktop's privacy settings before using capture shortcuts."},
    CaptureRow{"savingWithoutFolder", Mode::saveAndCopyCleanedPNG, false, true, false, Readiness::needsSetup,
               "Choose an auto-save folder or switch capture output back to review."},
    CaptureRow{"savingWithFolder", Mode::saveCleanedPNG, true, true, false, Readiness::on,
               "Save cleaned image to folder. Global shortcuts are configured."},
    CaptureRow{"copyWithoutFolderOrShortcuts", Mode::copyCleanedPNG, false, false, false, Readiness::on,
               "Copy cleaned image to clipboard. Menu bar capture is still available; shortcuts are disabled."},
    CaptureRow{"reviewWithShortcuts", Mode::reviewInVelmora, false, true, false, Readiness::on,
               "Review in Velmora. Global shortcuts are configured."}),
    test::rowName);

struct WatchRow
{
    const char *name;
    bool enabled, folderSelected;
    Readiness readiness;
    const char *detail;
};

class FolderWatchRail : public ::testing::TestWithParam<WatchRow> {};

TEST_P(FolderWatchRail, FollowsTheSwitchAndTheFolder)
{
    ScreenshotProtectionStatusInput input;
    input.folderWatchEnabled = GetParam().enabled;
    input.folderWatchFolderSelected = GetParam().folderSelected;
    const ScreenshotProtectionStatusItem item = ScreenshotProtectionStatusBuilder::folderWatchItem(input);
    EXPECT_EQ(item.readiness, GetParam().readiness);
    EXPECT_EQ(item.detail, QString::fromUtf8(GetParam().detail));
}

INSTANTIATE_TEST_SUITE_P(Rows, FolderWatchRail, ::testing::Values(
    WatchRow{"onWithFolder", true, true, Readiness::on,
             "Scans new screenshots after they are saved in the watched folder."},
    WatchRow{"onWithoutFolder", true, false, Readiness::needsSetup,
             "Choose Desktop, Screenshots, or another folder before watch can run."},
    WatchRow{"offWithFolder", false, true, Readiness::off, "Folder selected, but watch is paused."},
    WatchRow{"offWithoutFolder", false, false, Readiness::off, "No watched folder selected."}),
    test::rowName);

// A protection that does not run reads as its halt says, but only while it is switched
// on (the watch with a folder); otherwise the settings decide as before.
struct HaltRow
{
    const char *name;
    bool enabled, folderSelected;
    Readiness watchReadiness;
    const char *watchDetail;
    Readiness guardReadiness;
    const char *guardDetail;
};

class HaltedRails : public ::testing::TestWithParam<HaltRow> {};

TEST_P(HaltedRails, AHaltCountsOnlyWhileSwitchedOn)
{
    ScreenshotProtectionStatusInput input;
    input.folderWatchEnabled = GetParam().enabled;
    input.folderWatchFolderSelected = GetParam().folderSelected;
    input.clipboardGuardEnabled = GetParam().enabled;
    input.folderWatchHalt = ProtectionHalt{Readiness::needsSetup, QStringLiteral("The folder went away.")};
    input.clipboardGuardHalt = ProtectionHalt{Readiness::off, QStringLiteral("The guard waits.")};
    const ScreenshotProtectionStatusItem watch = ScreenshotProtectionStatusBuilder::folderWatchItem(input);
    const ScreenshotProtectionStatusItem guard = ScreenshotProtectionStatusBuilder::clipboardGuardItem(input);
    EXPECT_EQ(watch.readiness, GetParam().watchReadiness);
    EXPECT_EQ(watch.detail, QString::fromUtf8(GetParam().watchDetail));
    EXPECT_EQ(guard.readiness, GetParam().guardReadiness);
    EXPECT_EQ(guard.detail, QString::fromUtf8(GetParam().guardDetail));
}

INSTANTIATE_TEST_SUITE_P(Rows, HaltedRails, ::testing::Values(
    HaltRow{"switchedOn", true, true, Readiness::needsSetup, "The folder went away.", Readiness::off,
            "The guard waits."},
    HaltRow{"watchWithoutFolder", true, false, Readiness::needsSetup,
            "Choose Desktop, Screenshots, or another folder before watch can run.", Readiness::off,
            "The guard waits."},
    HaltRow{"switchedOff", false, true, Readiness::off, "Folder selected, but watch is paused.", Readiness::off,
            "Paste images manually or turn on Clipboard Guard for AI chat, Slack, email, and tickets."}),
    test::rowName);

struct PolicyRow
{
    const char *name;
    const char *displayName;
    bool managed;
    const char *detail;
};

class PolicyRail : public ::testing::TestWithParam<PolicyRow> {};

TEST_P(PolicyRail, IsAlwaysOnAndAManagedPolicyWins)
{
    ScreenshotProtectionStatusInput input;
    input.policyDisplayName = QString::fromUtf8(GetParam().displayName);
    input.isPolicyManaged = GetParam().managed;
    const ScreenshotProtectionStatusItem item = ScreenshotProtectionStatusBuilder::policyItem(input);
    EXPECT_EQ(item.readiness, Readiness::on);
    EXPECT_EQ(item.detail, QString::fromUtf8(GetParam().detail));
}

INSTANTIATE_TEST_SUITE_P(Rows, PolicyRail, ::testing::Values(
    PolicyRow{"managedWinsOverAName", "Finance", true, "Managed by team policy."},
    PolicyRow{"presetNameTrimmed", "  Finance\n", false, "Active preset: Finance."},
    PolicyRow{"blanksCountAsEmpty", " \n\t ", false,
              "Current defaults. Add presets, terms, regexes, or imported .velmorapolicy files when needed."}),
    test::rowName);

TEST(ProtectionStatusTest, FourItemsAlwaysInRailOrder)
{
    ScreenshotProtectionStatusInput input;
    input.clipboardGuardEnabled = true;
    input.captureNeedsPermission = true;
    const QList<ScreenshotProtectionStatusItem> items = ScreenshotProtectionStatusBuilder::items(input);
    ASSERT_EQ(items.size(), 4);
    for (qsizetype i = 0; i < items.size(); ++i)
        EXPECT_EQ(items[i].rail, allCases<ScreenshotProtectionRail>()[std::size_t(i)]);
    EXPECT_EQ(items[2], (ScreenshotProtectionStatusItem{
                            ScreenshotProtectionRail::clipboardGuard, Readiness::on,
                            "Scans image clipboard changes locally before risky screenshots are pasted elsewhere."}));
    input.clipboardGuardEnabled = false;
    EXPECT_EQ(ScreenshotProtectionStatusBuilder::items(input)[2].detail,
              "Paste images manually or turn on Clipboard Guard for AI chat, Slack, email, and tickets.");
}

TEST(ProtectionStatusTest, TitlesOfRailsAndReadiness)
{
    QStringList rails;
    for (const ScreenshotProtectionRail rail : allCases<ScreenshotProtectionRail>())
        rails.append(title(rail));
    EXPECT_EQ(rails, (QStringList{"Velmora Capture", "Folder Watch", "Clipboard Guard", "Policy"}));
    QStringList readiness;
    for (const Readiness value : allCases<Readiness>())
        readiness.append(title(value));
    EXPECT_EQ(readiness, (QStringList{"On", "Off", "Needs setup", "Needs permission"}));
}

} // namespace
