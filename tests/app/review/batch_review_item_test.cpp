#include "app/review/batch_review_item.h"

#include "review_test_items.h"

#include "support/row_name.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct StatusRow
{
    const char *name;
    bool isChecking;
    bool hasError;
    bool didScan;
    int confident;   ///< Active entries with confidence 0.95.
    int doubtful;    ///< Active entries with confidence 0.5.
    int off;         ///< Inactive entries.
    bool reviewed;
    const char *text;
    const char *symbol;
    ReviewTint tint;
};

class BatchItemStatus : public ::testing::TestWithParam<StatusRow>
{
};

TEST_P(BatchItemStatus, TextSymbolAndTint)
{
    const StatusRow &row = GetParam();
    BatchReviewItem item = test::fileItem("a.png");
    QList<Detection> detections;
    QList<QUuid> offIDs;
    double bottom = 0.9;
    for (int i = 0; i < row.confident + row.doubtful + row.off; ++i) {
        Detection detection = test::findingOf(DetectionKind::email, "Email", bottom -= 0.1,
                                              i >= row.confident && i < row.confident + row.doubtful ? 0.5 : 0.95);
        if (i >= row.confident + row.doubtful)
            offIDs.append(detection.id);
        detections.append(detection);
    }
    item.redactionPlan = RedactionPlan(detections, {}, {});
    for (const QUuid &id : offIDs)
        item.redactionPlan.setActive(false, id);
    item.isChecking = row.isChecking;
    if (row.hasError)
        item.errorText = QStringLiteral("Detection failed. Automated detections were cleared.");
    item.didScan = row.didScan;
    item.didReviewInBatch = row.reviewed;
    EXPECT_EQ(item.statusText(), QString::fromUtf8(row.text));
    EXPECT_EQ(item.statusSymbol(), QString::fromUtf8(row.symbol));
    EXPECT_EQ(item.statusColor(), row.tint);
}

using T = ReviewTint;

INSTANTIATE_TEST_SUITE_P(Rows, BatchItemStatus, ::testing::Values(
    StatusRow{"Queued", false, false, false, 0, 0, 0, false, "Queued", "clock", T::secondary},
    StatusRow{"Scanning", true, false, false, 0, 0, 0, false, "Scanning", "hourglass", T::accent},
    StatusRow{"ScanningWithErrorIsOrange", true, true, false, 0, 0, 0, false, "Scanning", "hourglass", T::orange},
    StatusRow{"Failed", false, true, false, 0, 0, 0, false, "Needs attention", "exclamationmark.triangle", T::orange},
    StatusRow{"NoFindings", false, false, true, 0, 0, 0, false, "No findings", "checkmark.circle", T::green},
    StatusRow{"NoFindingsReviewed", false, false, true, 0, 0, 0, true, "No findings", "checkmark.circle", T::secondary},
    StatusRow{"ToCheck", false, false, true, 1, 2, 0, false, "2 to check", "exclamationmark.circle", T::orange},
    StatusRow{"ToRedact", false, false, true, 3, 0, 1, false, "3 to redact", "checkmark.seal", T::green},
    StatusRow{"AllOff", false, false, true, 0, 0, 2, false, "0 to redact", "checkmark.seal", T::green},
    StatusRow{"Reviewed", false, false, true, 2, 0, 0, true, "Reviewed", "checkmark.circle", T::secondary},
    StatusRow{"ReviewedButNeedsReviewIsOrange", false, false, true, 0, 1, 0, true, "Reviewed", "checkmark.circle", T::orange},
    StatusRow{"QueuedWithOldFindings", false, false, false, 1, 0, 0, false, "Queued", "clock", T::secondary}),
    test::rowName);

struct NameRow
{
    const char *name;
    std::optional<QString> label;
    std::optional<QUrl> url;
    const char *displayName;
};

class BatchItemDisplayName : public ::testing::TestWithParam<NameRow>
{
};

TEST_P(BatchItemDisplayName, LabelThenFileThenClipboard)
{
    const NameRow &row = GetParam();
    const BatchReviewItem item =
        BatchReviewItem::make(row.url, row.label, SafeShareSourceType::unknown, ReviewImageSource::encode(test::plainImage()), {});
    EXPECT_EQ(item.displayName(), QString::fromUtf8(row.displayName));
}

INSTANTIATE_TEST_SUITE_P(Rows, BatchItemDisplayName, ::testing::Values(
    NameRow{"LabelWins", QStringLiteral("Area capture"), QUrl::fromLocalFile("/tmp/x.png"), "Area capture"},
    NameRow{"FileName", std::nullopt, QUrl::fromLocalFile("/shots/Screen Shot 1.png"), "Screen Shot 1.png"},
    NameRow{"FileNameIsTrimmed", std::nullopt, QUrl::fromLocalFile("/shots/ a.png "), "a.png"},
    NameRow{"BlankFileNameIsImage", std::nullopt, QUrl::fromLocalFile("/shots/   "), "Image"},
    NameRow{"NoLabelNoUrl", std::nullopt, std::nullopt, "Clipboard image"}),
    test::rowName);

} // namespace
} // namespace velmora
