#include "core/protection/capture_output_policy.h"

#include <gtest/gtest.h>

#include <string>

using namespace velmora;
using Mode = VelmoraCaptureOutputMode;
using Safety = VelmoraAutoCleanSafetyMode;
using Reason = VelmoraCaptureOutputFallbackReason;

struct DecisionRow {
    const char *name;
    Mode mode;
    Safety safety;
    int reviewCount;
    VelmoraCaptureOutputDecision expected;
};

class CaptureOutputDecisionTest : public ::testing::TestWithParam<DecisionRow> {};

TEST_P(CaptureOutputDecisionTest, FirstMatchingRuleWins)
{
    const DecisionRow &row = GetParam();
    const VelmoraCaptureOutputDecision decision = VelmoraCaptureOutputPolicy{row.mode, row.safety}.decision(row.reviewCount);
    EXPECT_EQ(decision, row.expected);
    EXPECT_EQ(decision.fellBackToReview(), row.expected.fallbackReason.has_value());
}

INSTANTIATE_TEST_SUITE_P(Rows, CaptureOutputDecisionTest, ::testing::Values(
    DecisionRow{"reviewModeBeforeSafetyMode", Mode::reviewInVelmora, Safety::autoCleanEverything, 0,
                {Mode::reviewInVelmora, Reason::explicitReviewMode()}},
    DecisionRow{"reviewModeWithFindings", Mode::reviewInVelmora, Safety::pauseIfUnsure, 4,
                {Mode::reviewInVelmora, Reason::explicitReviewMode()}},
    DecisionRow{"reviewFirstWithoutFindings", Mode::copyCleanedPNG, Safety::reviewFirst, 0,
                {Mode::reviewInVelmora, Reason::reviewFirstMode()}},
    DecisionRow{"reviewFirstBeforeFindingCount", Mode::saveCleanedPNG, Safety::reviewFirst, 2,
                {Mode::reviewInVelmora, Reason::reviewFirstMode()}},
    DecisionRow{"pauseWithFindings", Mode::saveAndCopyCleanedPNG, Safety::pauseIfUnsure, 3,
                {Mode::reviewInVelmora, Reason::reviewFindingsPresent(3)}},
    DecisionRow{"pauseWithoutFindings", Mode::saveAndCopyCleanedPNG, Safety::pauseIfUnsure, 0,
                {Mode::saveAndCopyCleanedPNG, std::nullopt}},
    DecisionRow{"pauseWithNegativeCount", Mode::copyCleanedPNG, Safety::pauseIfUnsure, -1,
                {Mode::copyCleanedPNG, std::nullopt}},
    DecisionRow{"everythingWithFindings", Mode::saveCleanedPNG, Safety::autoCleanEverything, 7,
                {Mode::saveCleanedPNG, std::nullopt}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CaptureOutputDecisionTest, ReasonsCompareTheirCount)
{
    EXPECT_EQ(Reason::reviewFindingsPresent(3), Reason::reviewFindingsPresent(3));
    EXPECT_NE(Reason::reviewFindingsPresent(3), Reason::reviewFindingsPresent(2));
    EXPECT_NE(Reason::explicitReviewMode(), Reason::reviewFirstMode());
}

struct RequiresNoReviewRow {
    const char *name;
    Safety before;
    bool reads;
    bool written;
    Safety after;
};

class RequiresNoReviewFindingsTest : public ::testing::TestWithParam<RequiresNoReviewRow> {};

TEST_P(RequiresNoReviewFindingsTest, ReadsAndWritesTheSafetyMode)
{
    const RequiresNoReviewRow &row = GetParam();
    VelmoraCaptureOutputPolicy policy{Mode::copyCleanedPNG, row.before};
    EXPECT_EQ(policy.requiresNoReviewFindings(), row.reads);
    policy.setRequiresNoReviewFindings(row.written);
    EXPECT_EQ(policy.safetyMode, row.after);
    EXPECT_EQ(policy.mode, Mode::copyCleanedPNG);
}

INSTANTIATE_TEST_SUITE_P(Rows, RequiresNoReviewFindingsTest, ::testing::Values(
    RequiresNoReviewRow{"reviewFirstReadsNoAndBecomesEverything", Safety::reviewFirst, false, false, Safety::autoCleanEverything},
    RequiresNoReviewRow{"reviewFirstWrittenYes", Safety::reviewFirst, false, true, Safety::pauseIfUnsure},
    RequiresNoReviewRow{"pauseReadsYes", Safety::pauseIfUnsure, true, false, Safety::autoCleanEverything},
    RequiresNoReviewRow{"everythingReadsNo", Safety::autoCleanEverything, false, true, Safety::pauseIfUnsure}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CaptureOutputPolicyTest, LegacySettingMapsToSafetyModes)
{
    EXPECT_EQ(autoCleanSafetyModeFromLegacy(true), Safety::pauseIfUnsure);
    EXPECT_EQ(autoCleanSafetyModeFromLegacy(false), Safety::autoCleanEverything);
    EXPECT_EQ(VelmoraCaptureOutputPolicy::fromLegacy(Mode::saveCleanedPNG, true),
              (VelmoraCaptureOutputPolicy{Mode::saveCleanedPNG, Safety::pauseIfUnsure}));
    EXPECT_EQ(VelmoraCaptureOutputPolicy::fromLegacy(Mode::copyCleanedPNG, false),
              (VelmoraCaptureOutputPolicy{Mode::copyCleanedPNG, Safety::autoCleanEverything}));
}

struct OutputModeRow {
    const char *name;
    Mode mode;
    const char *raw;
    const char *title;
    bool copies;
    bool saves;
};

class CaptureOutputModeTest : public ::testing::TestWithParam<OutputModeRow> {};

TEST_P(CaptureOutputModeTest, TitleAndDestinations)
{
    const OutputModeRow &row = GetParam();
    EXPECT_EQ(rawValue(row.mode), QString::fromLatin1(row.raw));
    EXPECT_EQ(fromRawValue<Mode>(QString::fromLatin1(row.raw)), row.mode);
    EXPECT_EQ(title(row.mode), QString::fromUtf8(row.title));
    EXPECT_EQ(copiesToClipboard(row.mode), row.copies);
    EXPECT_EQ(savesToFolder(row.mode), row.saves);
}

INSTANTIATE_TEST_SUITE_P(Rows, CaptureOutputModeTest, ::testing::Values(
    OutputModeRow{"review", Mode::reviewInVelmora, "reviewInVelmora", "Review in Velmora", false, false},
    OutputModeRow{"copy", Mode::copyCleanedPNG, "copyCleanedPNG", "Copy cleaned image to clipboard", true, false},
    OutputModeRow{"save", Mode::saveCleanedPNG, "saveCleanedPNG", "Save cleaned image to folder", false, true},
    OutputModeRow{"saveAndCopy", Mode::saveAndCopyCleanedPNG, "saveAndCopyCleanedPNG", "Save and copy", true, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CaptureOutputModeTest, CasesAreListedInPickerOrder)
{
    const auto modes = allCases<Mode>();
    ASSERT_EQ(modes.size(), 4u);
    EXPECT_EQ(modes[0], Mode::reviewInVelmora);
    EXPECT_EQ(modes[3], Mode::saveAndCopyCleanedPNG);
    const auto safety = allCases<Safety>();
    ASSERT_EQ(safety.size(), 3u);
    EXPECT_EQ(safety[0], Safety::reviewFirst);
    EXPECT_EQ(safety[1], Safety::pauseIfUnsure);
    EXPECT_EQ(safety[2], Safety::autoCleanEverything);
}

struct ReceiptSurfaceRow {
    const char *name;
    bool active;
    bool allowed;
    VelmoraAutoCleanReceiptSurface expected;
};

class ReceiptSurfaceTest : public ::testing::TestWithParam<ReceiptSurfaceRow> {};

TEST_P(ReceiptSurfaceTest, NotificationOnlyWhenInactiveAndAllowed)
{
    EXPECT_EQ(autoCleanReceiptSurface(GetParam().active, GetParam().allowed), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, ReceiptSurfaceTest, ::testing::Values(
    ReceiptSurfaceRow{"activeAndAllowed", true, true, VelmoraAutoCleanReceiptSurface::inAppBanner},
    ReceiptSurfaceRow{"activeNotAllowed", true, false, VelmoraAutoCleanReceiptSurface::inAppBanner},
    ReceiptSurfaceRow{"inactiveAndAllowed", false, true, VelmoraAutoCleanReceiptSurface::systemNotification},
    ReceiptSurfaceRow{"inactiveNotAllowed", false, false, VelmoraAutoCleanReceiptSurface::inAppBanner}),
    [](const auto &info) { return std::string(info.param.name); });
