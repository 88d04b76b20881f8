#include "app/review/autoclean_receipt.h"

#include "support/row_name.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(ReviewModelEnums, RawValuesAndTitlesFollowTheCaseOrder)
{
    QStringList raw, titles;
    for (FindingCategory category : allCases<FindingCategory>()) {
        raw << rawValue(category);
        titles << title(category);
    }
    EXPECT_EQ(raw.join(','), "secrets,emails,people,visualCodes,customerAccount,infrastructure,payments,phones,review");
    EXPECT_EQ(titles.join(','), "Secrets,Emails,People,Visual codes,Customer/account,Infrastructure,Payments,Phones,Review");
    EXPECT_EQ(title(FindingFilter::needsReview), "Check");
    EXPECT_EQ(title(FindingFilter::included), "Redact");
    EXPECT_EQ(title(FindingFilter::off), "Visible");
    EXPECT_EQ(title(BatchReviewFilter::all), "All images");
    EXPECT_EQ(rawValue(ShareAction::export_), "export");
}

struct ReceiptRow
{
    const char *name;
    int count;
    const char *clipboardTitle;
    const char *clipboardMessage;
};

class AutoCleanReceipts : public ::testing::TestWithParam<ReceiptRow>
{
};

TEST_P(AutoCleanReceipts, NameTheCountWithItsWord)
{
    const ReceiptRow &row = GetParam();
    const AutoCleanReceiptText clipboard = autoCleanClipboardReceipt(row.count);
    EXPECT_EQ(clipboard.title, QString::fromUtf8(row.clipboardTitle));
    EXPECT_EQ(clipboard.message, QString::fromUtf8(row.clipboardMessage));
    EXPECT_EQ(clipboard.action, CompletionBannerAction::reviewLastAutoClean);
    EXPECT_EQ(clipboard.secondaryAction, CompletionBannerAction::undoLastAutoClean);
}

INSTANTIATE_TEST_SUITE_P(Rows, AutoCleanReceipts, ::testing::Values(
    ReceiptRow{"None", 0, "Clipboard protected · 0 items masked",
               "Velmora replaced the image clipboard with a cleaned PNG after masking 0 items. Open Velmora to review or undo recent AutoClean output."},
    ReceiptRow{"One", 1, "Clipboard protected · 1 item masked",
               "Velmora replaced the image clipboard with a cleaned PNG after masking 1 item. Open Velmora to review or undo recent AutoClean output."},
    ReceiptRow{"Several", 12, "Clipboard protected · 12 items masked",
               "Velmora replaced the image clipboard with a cleaned PNG after masking 12 items. Open Velmora to review or undo recent AutoClean output."}),
    test::rowName);

TEST(AutoCleanReceipts, CaptureReceiptStartsWithTheHeadline)
{
    const AutoCleanReceiptText receipt = autoCleanCaptureReceipt(QStringLiteral("Area capture copied"), 1);
    EXPECT_EQ(receipt.title, QString::fromUtf8("Area capture copied · 1 item masked"));
    EXPECT_EQ(receipt.message, QStringLiteral("Velmora scanned locally and masked 1 item in a cleaned PNG. "
                                              "Open Velmora to review or undo recent AutoClean output."));
    EXPECT_EQ(receipt.action, CompletionBannerAction::reviewLastAutoClean);
}

} // namespace
} // namespace velmora
