#include "core/protection/capture_shortcut_settings.h"

#include "support/row_name.h"
#include "support/temp_settings.h"

#include <gtest/gtest.h>

using namespace velmora;
using Choice = VelmoraCaptureShortcutChoice;
using Mode = VelmoraCaptureMode;

TEST(CaptureShortcutSettingsTest, NothingStoredGivesTheDefaults)
{
    test::TempSettings settings;
    const auto current = VelmoraCaptureShortcutSettings::current(*settings);
    EXPECT_EQ(current, VelmoraCaptureShortcutSettings::defaults());
    EXPECT_EQ(current.area, Choice::optionShift1);
    EXPECT_EQ(current.screen, Choice::optionShift3);
    const auto assignments = current.enabledAssignments();
    ASSERT_EQ(assignments.size(), 3);
    EXPECT_EQ(assignments[0].first, Mode::screen);
    EXPECT_EQ(assignments[1].first, Mode::window);
    EXPECT_EQ(assignments[2].first, Mode::area);
    EXPECT_FALSE(current.hasConflicts());
}

struct StoredChoiceRow {
    const char *name;
    const char *stored;
    Choice expected;
};

class StoredChoiceTest : public ::testing::TestWithParam<StoredChoiceRow> {};

TEST_P(StoredChoiceTest, ReadsOnlyExactRawValues)
{
    test::TempSettings settings;
    settings->setValue(Setting::windowShortcutID, QString::fromLatin1(GetParam().stored));
    EXPECT_EQ(VelmoraCaptureShortcutSettings::current(*settings).window, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, StoredChoiceTest, ::testing::Values(
    StoredChoiceRow{"rawValue", "controlOption2", Choice::controlOption2},
    StoredChoiceRow{"title", "Control-Option-2", Choice::optionShift2},
    StoredChoiceRow{"capitalised", "ControlOption2", Choice::optionShift2},
    StoredChoiceRow{"disabled", "disabled", Choice::disabled}),
    test::rowName);

TEST(CaptureShortcutSettingsTest, DuplicatesIgnoreDisabledSlots)
{
    VelmoraCaptureShortcutSettings shared{Choice::optionShift1, Choice::disabled, Choice::optionShift1};
    ASSERT_EQ(shared.enabledAssignments().size(), 2);
    EXPECT_EQ(shared.enabledAssignments()[0].first, Mode::screen);
    EXPECT_EQ(shared.duplicateChoices(), QSet<Choice>{Choice::optionShift1});

    VelmoraCaptureShortcutSettings off{Choice::disabled, Choice::disabled, Choice::disabled};
    EXPECT_TRUE(off.enabledAssignments().isEmpty());
    EXPECT_FALSE(off.hasConflicts());
}

TEST(CaptureShortcutSettingsTest, HotKeyIdentifiers)
{
    EXPECT_EQ(captureModeFromHotKeyID(0), std::nullopt);
    EXPECT_EQ(captureModeFromHotKeyID(4), std::nullopt);
    EXPECT_EQ(captureModeFromHotKeyID(2), Mode::window);
    EXPECT_EQ(captureModeFromHotKeyID(1), Mode::area);
}

TEST(CaptureShortcutSettingsTest, CodingRequiresEveryKnownSlot)
{
    const VelmoraCaptureShortcutSettings settings{Choice::controlOption1, Choice::disabled, Choice::optionShift3};
    EXPECT_EQ(VelmoraCaptureShortcutSettings::decode(settings.encode()), settings);
    EXPECT_EQ(VelmoraCaptureShortcutSettings::decode(R"({"area":"optionShift1","window":"optionShift2"})"), std::nullopt);
    EXPECT_EQ(VelmoraCaptureShortcutSettings::decode(R"({"area":"x","window":"optionShift2","screen":"disabled"})"),
              std::nullopt);
}
