#include "app/review/share_gate.h"

#include "support/row_name.h"

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

struct AdmitRow
{
    const char *name;
    ShareAction action;
    int needsReviewCount;
    bool passes;
};

class ShareGateAdmit : public ::testing::TestWithParam<AdmitRow>
{
};

TEST_P(ShareGateAdmit, PassesOnlyWhenNothingNeedsReview)
{
    const AdmitRow &row = GetParam();
    ShareGate gate;
    EXPECT_EQ(gate.admit(row.action, row.needsReviewCount), row.passes);
    EXPECT_EQ(gate.isShowingReviewWarning(), !row.passes);
    EXPECT_EQ(gate.pendingAction(), row.passes ? std::nullopt : std::optional<ShareAction>(row.action));
}

INSTANTIATE_TEST_SUITE_P(Rows, ShareGateAdmit, ::testing::Values(
    AdmitRow{"CopyWithNothingToReview", ShareAction::copy, 0, true},
    AdmitRow{"ExportWithANegativeCount", ShareAction::export_, -1, true},
    AdmitRow{"CopyWithOneToReview", ShareAction::copy, 1, false},
    AdmitRow{"BatchExportWithSeveral", ShareAction::batchExport, 7, false}),
    rowName);

TEST(ShareGateHold, TakingTheHeldShareLowersTheWarning)
{
    ShareGate gate;
    ASSERT_FALSE(gate.admit(ShareAction::export_, 2));
    EXPECT_EQ(gate.take(), ShareAction::export_);
    EXPECT_FALSE(gate.isShowingReviewWarning());
    EXPECT_EQ(gate.take(), std::nullopt) << "a share is taken once";
}

TEST(ShareGateHold, ALaterShareReplacesTheHeldOne)
{
    ShareGate gate;
    ASSERT_FALSE(gate.admit(ShareAction::copy, 1));
    ASSERT_FALSE(gate.admit(ShareAction::batchExport, 3));
    EXPECT_EQ(gate.pendingAction(), ShareAction::batchExport);
}

} // namespace
} // namespace velmora::test
