#include "app/window/export_action_bar.h"
#include "app/window/export_action_bar_binding.h"

#include "app/review/review_commands_fixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>

namespace velmora::test {
namespace {

// The bar bound to a review, as the window binds it.
class ExportActionBarTest : public ReviewCommandsTest
{
protected:
    ExportActionBarTest() { bindExportActionBarToReview(bar, controller); }

    template <typename T = QAbstractButton>
    T *find(const char *identifier) const
    {
        T *widget = bar.findChild<T *>(QString::fromLatin1(identifier));
        EXPECT_NE(widget, nullptr) << identifier;
        return widget;
    }

    bool shown(const char *identifier) const { return find<QWidget>(identifier)->isVisibleTo(&bar); }
    bool enabled(const char *identifier) const { return find<QWidget>(identifier)->isEnabled(); }

    ExportActionBar bar;
};

TEST_F(ExportActionBarTest, EveryControlCarriesItsIdentifierAndTexts)
{
    EXPECT_EQ(find<QLabel>("local-only-copy-text")->text(),
              "On-device - no account - detection can miss things - review before sharing");
    QAbstractButton *copy = find("copy-redacted-button");
    EXPECT_EQ(copy->text(), "Copy");
    EXPECT_EQ(copy->accessibleName(), "Copy cleaned PNG");
    EXPECT_EQ(copy->accessibleDescription(),
              "Copy a flattened PNG with active redactions applied and metadata stripped.");
    EXPECT_EQ(copy->toolTip(), QKeySequence("Ctrl+Shift+C").toString(QKeySequence::NativeText));
    QAbstractButton *exportButton = find("export-redacted-button");
    EXPECT_EQ(exportButton->text(), "Export cleaned copy");
    EXPECT_EQ(exportButton->accessibleName(), "Export cleaned image");
    EXPECT_EQ(exportButton->toolTip(), QKeySequence("Ctrl+E").toString(QKeySequence::NativeText));
    QAbstractButton *batch = find("export-batch-button");
    EXPECT_EQ(batch->text(), "Export batch");
    EXPECT_EQ(batch->accessibleName(), "Export cleaned batch");
    EXPECT_EQ(batch->accessibleDescription(), "Save flattened cleaned copies for the loaded batch.");
    QCheckBox *includeSafe = find<QCheckBox>("include-clean-batch-items-toggle");
    EXPECT_EQ(includeSafe->text(), "Include safe");
    EXPECT_EQ(includeSafe->toolTip(), "Include images with no findings in the batch export.");
    EXPECT_GE(bar.minimumHeight(), 72);
}

TEST_F(ExportActionBarTest, SharingWaitsForAScannedImageAndBatchExportForTheBatchScan)
{
    EXPECT_FALSE(enabled("copy-redacted-button"));
    EXPECT_FALSE(enabled("export-redacted-button"));

    controller.loadBatch({fileItem("a.png"), fileItem("b.png")}, QStringLiteral("2 images loaded."), 0, true);
    finishPoolWork();
    // The image being scanned, then one no scan has reached yet.
    for (const ReviewDocument &item : QList<ReviewDocument>(state().batch.items())) {
        controller.selectBatchItem(item.id());
        EXPECT_FALSE(enabled("copy-redacted-button"));
        EXPECT_FALSE(enabled("export-redacted-button"));
        EXPECT_FALSE(enabled("export-batch-button"));
    }

    engine.lastCall().finish();
    drainScans();
    engine.lastCall().finish();
    drainScans();
    for (const char *button : {"copy-redacted-button", "export-redacted-button", "export-batch-button"})
        EXPECT_TRUE(enabled(button)) << button;
}

TEST_F(ExportActionBarTest, OneImageShowsNoBatchControls)
{
    loadUnscanned({scannedItem("a.png", {})});
    EXPECT_FALSE(shown("include-clean-batch-items-toggle"));
    EXPECT_FALSE(shown("export-batch-button"));
    EXPECT_TRUE(shown("copy-redacted-button"));
}

TEST_F(ExportActionBarTest, CleanBatchExportsOnlyWhileIncludeSafeIsOn)
{
    loadUnscanned({scannedItem("a.png", {}), scannedItem("b.png", {})});
    EXPECT_TRUE(shown("include-clean-batch-items-toggle"));
    EXPECT_TRUE(shown("export-batch-button"));
    QCheckBox *includeSafe = find<QCheckBox>("include-clean-batch-items-toggle");
    EXPECT_TRUE(includeSafe->isChecked());
    EXPECT_TRUE(enabled("export-batch-button"));

    includeSafe->click();
    EXPECT_FALSE(state().batch.includesCleanExports());
    EXPECT_FALSE(enabled("export-batch-button"));
    includeSafe->click();
    EXPECT_TRUE(enabled("export-batch-button"));
}

TEST_F(ExportActionBarTest, ButtonsPassTheReviewGate)
{
    loadUnscanned({scannedItem("a.png", {findingOf(DetectionKind::email, "Email", 0.2, 0.5)}), scannedItem("b.png", {})});
    find("copy-redacted-button")->click();
    EXPECT_TRUE(controller.shareGate().isShowingReviewWarning());
    EXPECT_EQ(controller.shareGate().pendingAction(), ShareAction::copy);
    EXPECT_EQ(clipboard.changes, 0);
    controller.cancelPendingShare();

    find("export-redacted-button")->click();
    EXPECT_EQ(controller.shareGate().pendingAction(), ShareAction::export_);
    EXPECT_TRUE(dialogs.saveRequests.isEmpty());
    controller.cancelPendingShare();

    find("export-batch-button")->click();
    EXPECT_EQ(controller.shareGate().pendingAction(), ShareAction::batchExport);
    EXPECT_TRUE(dialogs.folderRequests.isEmpty());
}

TEST_F(ExportActionBarTest, CopyRunsWithNothingToCheckAndBothButtonsWaitForIt)
{
    loadUnscanned({scannedItem("a.png", {findingOf(DetectionKind::email, "Email", 0.2)})});
    find("copy-redacted-button")->click();
    EXPECT_FALSE(enabled("copy-redacted-button"));
    EXPECT_FALSE(enabled("export-redacted-button"));
    drainScans();
    EXPECT_EQ(clipboard.types(), QStringList({"image/png"}));
    EXPECT_TRUE(enabled("copy-redacted-button"));
    EXPECT_TRUE(enabled("export-redacted-button"));
}

TEST_F(ExportActionBarTest, StatusWidgetsFollowTheNote)
{
    QWidget pills, alerts;
    bar.placeStatusWidgets(&pills, &alerts);
    EXPECT_EQ(pills.parentWidget(), &bar);
    const QWidget *note = find<QWidget>("local-only-copy-text");
    bar.resize(1400, 72);
    bar.show();
    EXPECT_LT(note->geometry().right(), pills.geometry().left());
    EXPECT_LT(pills.geometry().right(), alerts.geometry().left());
    EXPECT_LT(alerts.geometry().right(), find<QWidget>("copy-redacted-button")->geometry().left());
    bar.hide();
    pills.setParent(nullptr);
    alerts.setParent(nullptr);
}

} // namespace
} // namespace velmora::test
