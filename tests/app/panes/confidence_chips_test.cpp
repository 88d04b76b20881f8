#include "app/kit/look.h"
#include "app/panes/batch_card.h"
#include "app/panes/confidence_summary.h"
#include "app/panes/finding_chips.h"

#include "app/panes/review_harness.h"

#include "support/row_name.h"

#include <limits>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

struct ChipRow {
    const char *name;
    bool isActive;
    double confidence;
    DetectionSuggestedAction action;
    DetectionBoundsPrecision precision;
    const char *label;
    const char *symbol;
    ConfidenceTone tone;
};

class ConfidenceSummaryTable : public ::testing::TestWithParam<ChipRow> {};

TEST_P(ConfidenceSummaryTable, FirstMatchingTestDecides)
{
    const ChipRow &row = GetParam();
    Detection detection = makeFinding({0.1, 0.1, 0.2, 0.05});
    detection.confidence = row.confidence;
    detection.suggestedAction = row.action;
    detection.boundsPrecision = row.precision;
    const ConfidenceSummary summary = ConfidenceSummary::make(detection, row.isActive);
    EXPECT_EQ(summary.label, QString::fromUtf8(row.label));
    EXPECT_EQ(summary.systemImage, QString::fromUtf8(row.symbol));
    EXPECT_EQ(summary.tone, row.tone);
}

constexpr auto redact = DetectionSuggestedAction::redact;
constexpr auto tight = DetectionBoundsPrecision::tight;

INSTANTIATE_TEST_SUITE_P(Rows, ConfidenceSummaryTable, ::testing::Values(
    ChipRow{"inactiveIsVisible", false, 0.99, redact, tight, "Visible", "pause.circle", ConfidenceTone::neutral},
    ChipRow{"lineFallbackIsCheckBounds", true, 0.99, redact, DetectionBoundsPrecision::lineFallback, "Check bounds",
            "rectangle.dashed", ConfidenceTone::warning},
    ChipRow{"reviewIsCheck", true, 0.95, DetectionSuggestedAction::review, tight, "Check", "exclamationmark.triangle",
            ConfidenceTone::warning},
    ChipRow{"below08IsCheck", true, 0.79, redact, tight, "Check", "exclamationmark.triangle", ConfidenceTone::warning},
    ChipRow{"exactly08IsMedium", true, 0.8, redact, tight, "Medium", "questionmark.circle", ConfidenceTone::neutral},
    ChipRow{"just09IsMedium", true, 0.899, redact, tight, "Medium", "questionmark.circle", ConfidenceTone::neutral},
    ChipRow{"exactly09IsHigh", true, 0.9, redact, tight, "High", "checkmark.seal", ConfidenceTone::high},
    // Agrees with the needs-review rule, which lists such a finding under "Check".
    ChipRow{"notANumberIsCheck", true, std::numeric_limits<double>::quiet_NaN(), redact, tight, "Check",
            "exclamationmark.triangle", ConfidenceTone::warning}),
    test::rowName);

TEST(ConfidenceChipColours, FollowTheToneAndPalette)
{
    useTestLook();
    QPalette palette;
    const ConfidenceSummary high{QStringLiteral("High"), QStringLiteral("checkmark.seal"), ConfidenceTone::high};
    EXPECT_EQ(high.foregroundColor(palette), look::green(palette));
    EXPECT_EQ(high.backgroundColor(palette), look::withOpacity(look::green(palette), 0.14));
    const ConfidenceSummary visible{QStringLiteral("Visible"), QStringLiteral("pause.circle"), ConfidenceTone::neutral};
    EXPECT_EQ(visible.backgroundColor(palette), palette.color(QPalette::Base));

    ConfidenceChip chip(high);
    EXPECT_EQ(chip.text(), QStringLiteral("High"));
    chip.setSummary(visible);
    EXPECT_EQ(chip.text(), QStringLiteral("Visible"));
    EXPECT_EQ(chip.symbol(), QStringLiteral("pause.circle"));
    AdjustedChip adjusted;
    EXPECT_EQ(adjusted.text(), QStringLiteral("Adjusted"));
    EXPECT_EQ(adjusted.accessibleName(), QStringLiteral("Bounds adjusted"));
}

TEST(BatchCard, AScannedItemShowsItsProgress)
{
    BatchReviewItem item = fileItem(QStringLiteral("scan.png"));
    item.isChecking = true;
    const BatchCardLook card = BatchCardLook::make(item, false);
    EXPECT_TRUE(card.showsProgress);
    EXPECT_EQ(card.statusText, QStringLiteral("Scanning"));
    EXPECT_FALSE(card.hasNewFinding);
}

TEST(BatchCard, AnUnreviewedItemWithFindingsReadsNew)
{
    BatchReviewItem item = fileItem(QStringLiteral("new.png"));
    item.didScan = true;
    item.redactionPlan = RedactionPlan({findingAt(0)}, {}, {});
    QPalette palette;
    const BatchCardLook card = BatchCardLook::make(item, false);
    EXPECT_TRUE(card.hasNewFinding);
    EXPECT_FALSE(card.showsProgress);
    EXPECT_EQ(card.accessibleLabel, QStringLiteral("new.png, 1 to redact, new finding image"));
    EXPECT_EQ(card.borderColor(palette), look::withOpacity(look::orange(palette), 0.7));
    EXPECT_EQ(card.borderWidth, 1);

    const BatchCardLook selected = BatchCardLook::make(item, true);
    EXPECT_EQ(selected.borderColor(palette), look::accent(palette));
    EXPECT_EQ(selected.borderWidth, 2);

    item.didReviewInBatch = true;
    const BatchCardLook reviewed = BatchCardLook::make(item, false);
    EXPECT_FALSE(reviewed.hasNewFinding);
    EXPECT_EQ(reviewed.statusText, QStringLiteral("Reviewed"));
    EXPECT_EQ(reviewed.borderColor(palette), look::withOpacity(look::secondary(palette), 0.18));
}
