#include "app/kit/look.h"
#include "app/panes/redaction_box_style.h"
#include "support/detection_fixtures.h"
#include "support/row_name.h"

#include <gtest/gtest.h>

#include <limits>

using namespace velmora;

namespace {

RedactionPlanEntry entryWith(bool isActive, DetectionSuggestedAction action, double confidence,
                             DetectionBoundsPrecision precision = DetectionBoundsPrecision::tight)
{
    Detection detection = test::makeFinding({0.1, 0.1, 0.2, 0.1});
    detection.suggestedAction = action;
    detection.confidence = confidence;
    detection.boundsPrecision = precision;
    return {detection, isActive};
}

const RedactionPlanEntry kPlainActive = entryWith(true, DetectionSuggestedAction::redact, 0.95);
const RedactionPlanEntry kReviewActive = entryWith(true, DetectionSuggestedAction::review, 0.95);
const RedactionPlanEntry kInactive = entryWith(false, DetectionSuggestedAction::review, 0.3);

struct StyleRow {
    const char *name;
    RedactionPlanEntry entry;
    bool selected;
    RedactionBoxStyle expected;
    const char *badge;
};

class BoxStyleTest : public ::testing::TestWithParam<StyleRow> {};

TEST_P(BoxStyleTest, FollowsTheStateTable)
{
    const auto &row = GetParam();
    EXPECT_EQ(RedactionBoxLook::style(row.entry, row.selected), row.expected);
    EXPECT_EQ(RedactionBoxLook::badgeLabel(row.entry), QString::fromLatin1(row.badge));
}

INSTANTIATE_TEST_SUITE_P(Rows, BoxStyleTest, ::testing::Values(
    StyleRow{"activeSelected", kPlainActive, true, {BoxColor::accent, 3, false, BoxColor::accent, 0.16}, "Redact"},
    StyleRow{"activeSelectedNeedsReview", kReviewActive, true, {BoxColor::accent, 3, false, BoxColor::orange, 0.16}, "Check"},
    StyleRow{"activeNeedsReview", kReviewActive, false, {BoxColor::orange, 3, false, BoxColor::orange, 0.16}, "Check"},
    StyleRow{"active", kPlainActive, false, {BoxColor::accent, 3, false, BoxColor::accent, 0.16}, "Redact"},
    StyleRow{"inactiveSelected", kInactive, true, {BoxColor::accent, 3, true, BoxColor::secondary, 0.08}, "Visible"},
    StyleRow{"inactive", kInactive, false, {BoxColor::secondary, 2, true, BoxColor::secondary, 0.08}, "Visible"},
    // Exactly 0.8 is confident enough: no second look.
    StyleRow{"confidenceExactlyPointEight", entryWith(true, DetectionSuggestedAction::redact, 0.8), false,
             {BoxColor::accent, 3, false, BoxColor::accent, 0.16}, "Redact"},
    StyleRow{"lineFallbackBox", entryWith(true, DetectionSuggestedAction::redact, 0.99, DetectionBoundsPrecision::lineFallback),
             false, {BoxColor::orange, 3, false, BoxColor::orange, 0.16}, "Check"}),
    test::rowName);

TEST(BoxBadgeTest, TextIsTheLabelAndTheWord)
{
    RedactionPlanEntry entry = kReviewActive;
    entry.detection.label = QStringLiteral("Account/customer ID");
    EXPECT_EQ(RedactionBoxLook::badgeText(entry), QStringLiteral("Account/customer ID - Check"));
}

TEST(BoxBadgeTest, SitsAboveWhenThereIsRoomElseBelow)
{
    EXPECT_EQ(RedactionBoxLook::badgeOffsetY(QRectF(40, 28, 100, 30)), -24);
    EXPECT_EQ(RedactionBoxLook::badgeOffsetY(QRectF(40, 200, 100, 30)), -24);
    EXPECT_EQ(RedactionBoxLook::badgeOffsetY(QRectF(40, 27.9, 100, 30)), 34);
    EXPECT_EQ(RedactionBoxLook::badgeOffsetY(QRectF(40, -50, 100, 60)), 64);
}

struct ValueRow {
    const char *name;
    RedactionPlanEntry entry;
    const char *expected;
};

class AccessibilityValueTest : public ::testing::TestWithParam<ValueRow> {};

TEST_P(AccessibilityValueTest, ReadsStateWordAndConfidence)
{
    const auto &row = GetParam();
    EXPECT_EQ(RedactionBoxLook::accessibilityValue(row.entry), QString::fromLatin1(row.expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, AccessibilityValueTest, ::testing::Values(
    ValueRow{"activeToCheck", entryWith(true, DetectionSuggestedAction::redact, 0.734),
             "Will redact in export. Check. 73 percent confidence."},
    ValueRow{"activeToRedact", entryWith(true, DetectionSuggestedAction::redact, 1.0),
             "Will redact in export. Redact. 100 percent confidence."},
    ValueRow{"visible", entryWith(false, DetectionSuggestedAction::redact, 0.9),
             "Visible in export. Visible. 90 percent confidence."},
    ValueRow{"halfRoundsAwayFromZero", entryWith(true, DetectionSuggestedAction::redact, 0.125),
             "Will redact in export. Check. 13 percent confidence."},
    ValueRow{"notANumber", entryWith(false, DetectionSuggestedAction::redact, std::numeric_limits<double>::quiet_NaN()),
             "Visible in export. Visible. 0 percent confidence."}),
    test::rowName);

TEST(BoxColorTest, ResolvesAgainstThePalette)
{
    QPalette light;
    light.setColor(QPalette::Window, QColor(0xec, 0xec, 0xec));
    light.setColor(QPalette::WindowText, Qt::black);
    light.setColor(QPalette::Highlight, QColor(0x00, 0x7a, 0xff));
    EXPECT_EQ(RedactionBoxLook::resolve(BoxColor::accent, light), QColor(0x00, 0x7a, 0xff));
    EXPECT_EQ(RedactionBoxLook::resolve(BoxColor::orange, light), QColor(0xff, 0x95, 0x00));
    EXPECT_NEAR(RedactionBoxLook::resolve(BoxColor::secondary, light).alphaF(), 0.5, 0.01);

    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::WindowText, Qt::white);
    EXPECT_EQ(RedactionBoxLook::resolve(BoxColor::orange, dark), QColor(0xff, 0x9f, 0x0a));
    EXPECT_NEAR(RedactionBoxLook::resolve(BoxColor::secondary, dark).alphaF(), 0.55, 0.01);
}

} // namespace
