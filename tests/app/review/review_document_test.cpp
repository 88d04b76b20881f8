#include "app/review/review_document.h"

#include "app/review/review_status_text.h"

#include "review_test_items.h"

#include "support/row_name.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

/// How the document got to the state whose row status is checked.
enum class Reached { queued, scanning, failedWhileScanning, failed, scanned, reviewed, drawnOnQueued };

struct StatusRow
{
    const char *name;
    Reached reached;
    int confident;   ///< Active entries with confidence 0.95 in the scanned plan.
    int doubtful;    ///< Active entries with confidence 0.5.
    int off;         ///< Entries switched off.
    const char *text;
    const char *symbol;
    ReviewTint tint;
};

class DocumentStatus : public ::testing::TestWithParam<StatusRow>
{
};

TEST_P(DocumentStatus, TextSymbolAndTint)
{
    const StatusRow &row = GetParam();
    ReviewDocument document = test::fileItem("a.png");
    QList<Detection> detections;
    double bottom = 0.9;
    for (int i = 0; i < row.confident + row.doubtful + row.off; ++i)
        detections.append(test::findingOf(DetectionKind::email, "Email", bottom -= 0.1,
                                          i >= row.confident && i < row.confident + row.doubtful ? 0.5 : 0.95));
    switch (row.reached) {
    case Reached::queued: break;
    case Reached::scanning: document.beginScan(); break;
    case Reached::failedWhileScanning: document.adoptFailure(RedactionPlan(), true); break;
    case Reached::failed: document.adoptFailure(RedactionPlan(), false); break;
    case Reached::scanned:
    case Reached::reviewed:
        document.adoptScan({RedactionPlan(detections, {}, {}), false}, false, false);
        for (qsizetype i = row.confident + row.doubtful; i < detections.size(); ++i)
            document.setFindingsActive(false, {detections.at(i).id});
        if (row.reached == Reached::reviewed) { // only a scanned image with findings is marked
            EXPECT_EQ(document.markReviewed(), !detections.isEmpty());
        }
        break;
    case Reached::drawnOnQueued:
        ASSERT_TRUE(document.addManualBox({0.5, 0.5, 0.2, 0.1}));
        EXPECT_FALSE(document.markReviewed() || document.canShare()) << "not scanned";
        break;
    }
    EXPECT_EQ(document.statusText(), QString::fromUtf8(row.text));
    EXPECT_EQ(document.statusSymbol(), QString::fromUtf8(row.symbol));
    EXPECT_EQ(document.statusColor(), row.tint);
}

using T = ReviewTint;
using R = Reached;

INSTANTIATE_TEST_SUITE_P(Rows, DocumentStatus, ::testing::Values(
    StatusRow{"Queued", R::queued, 0, 0, 0, "Queued", "clock", T::secondary},
    StatusRow{"Scanning", R::scanning, 0, 0, 0, "Scanning", "hourglass", T::accent},
    StatusRow{"ScanningWithErrorIsOrange", R::failedWhileScanning, 0, 0, 0, "Scanning", "hourglass", T::orange},
    StatusRow{"Failed", R::failed, 0, 0, 0, "Needs attention", "exclamationmark.triangle", T::orange},
    StatusRow{"NoFindings", R::scanned, 0, 0, 0, "No findings", "checkmark.circle", T::green},
    StatusRow{"NoFindingsIsNeverReviewed", R::reviewed, 0, 0, 0, "No findings", "checkmark.circle", T::green},
    StatusRow{"ToCheck", R::scanned, 1, 2, 0, "2 to check", "exclamationmark.circle", T::orange},
    StatusRow{"ToRedact", R::scanned, 3, 0, 1, "3 to redact", "checkmark.seal", T::green},
    StatusRow{"AllOff", R::scanned, 0, 0, 2, "0 to redact", "checkmark.seal", T::green},
    StatusRow{"Reviewed", R::reviewed, 2, 0, 0, "Reviewed", "checkmark.circle", T::secondary},
    StatusRow{"ReviewedButNeedsReviewIsOrange", R::reviewed, 0, 1, 0, "Reviewed", "checkmark.circle", T::orange},
    StatusRow{"QueuedWithDrawnBoxes", R::drawnOnQueued, 0, 0, 0, "Queued", "clock", T::secondary}),
    test::rowName);

struct NameRow
{
    const char *name;
    std::optional<QString> label;
    std::optional<QUrl> url;
    const char *displayName;
};

class DocumentDisplayName : public ::testing::TestWithParam<NameRow>
{
};

TEST_P(DocumentDisplayName, LabelThenFileThenClipboard)
{
    const NameRow &row = GetParam();
    const ReviewDocument document =
        ReviewDocument::make(row.url, row.label, SafeShareSourceType::unknown, ReviewImageSource::encode(test::plainImage()), {});
    EXPECT_EQ(document.displayName(), QString::fromUtf8(row.displayName));
}

INSTANTIATE_TEST_SUITE_P(Rows, DocumentDisplayName, ::testing::Values(
    NameRow{"LabelWins", QStringLiteral("Area capture"), QUrl::fromLocalFile("/tmp/x.png"), "Area capture"},
    NameRow{"FileName", std::nullopt, QUrl::fromLocalFile("/shots/Screen Shot 1.png"), "Screen Shot 1.png"},
    NameRow{"FileNameIsTrimmed", std::nullopt, QUrl::fromLocalFile("/shots/ a.png "), "a.png"},
    NameRow{"BlankFileNameIsImage", std::nullopt, QUrl::fromLocalFile("/shots/   "), "Image"},
    NameRow{"NoLabelNoUrl", std::nullopt, std::nullopt, "Clipboard image"}),
    test::rowName);

// A scanned image with one finding, the edits of its boxes and where its scan stands.
class DocumentEdits : public ::testing::Test
{
protected:
    void SetUp() override
    {
        document.adoptScan({RedactionPlan({}, {finding}, {}), false}, false, false);
        before = document.redactionPlan();
    }

    const Detection finding = test::makeFinding({0.1, 0.1, 0.2, 0.2});
    ReviewDocument document = test::fileItem("a.png");
    RedactionPlan before;
};

TEST_F(DocumentEdits, AnAddedBoxIsALabelledSelectedManualBoxAndOneUndoStep)
{
    EXPECT_FALSE(document.addManualBox({0.5, 0.5, 0.001, 0.04})) << "under the smallest size";
    EXPECT_FALSE(document.manualEditHistory().canUndo());
    const std::optional<QUuid> id = document.addManualBox({0.5, 0.5, 0.002, 0.002});
    ASSERT_TRUE(id);
    const Detection added = document.redactionPlan().manualDetections().first();
    EXPECT_EQ(QStringList({added.label, added.reason}), QStringList({"Manual redaction", "Added by the user."}));
    EXPECT_EQ(document.selectedDetectionID(), id);
    document.setFindingsActive(false, {*id});
    EXPECT_EQ(document.redactionPlan().activeDetections().size(), 1);
    EXPECT_TRUE(document.applyEditStep(ManualEditStep::undo)) << "inclusion changes are no undo step";
    EXPECT_EQ(document.redactionPlan(), before);
    EXPECT_FALSE(document.selectedDetectionID()) << "the selection of a box gone goes with it";
}

TEST_F(DocumentEdits, AMoveChangesThePlanAtOnceAndTheWholeDragIsOneUndoStep)
{
    EXPECT_FALSE(document.finishBoxEdit()) << "no drag under way";
    document.moveBox(finding.id, {0.2, 0.1, 0.2, 0.2});
    document.moveBox(finding.id, {0.4, 0.1, 0.2, 0.2});
    EXPECT_TRUE(test::rectNear(document.redactionPlan().entries().first().detection.normalizedBounds, {0.4, 0.1, 0.2, 0.2}));
    EXPECT_FALSE(document.manualEditHistory().canUndo()) << "the drag has not ended";
    EXPECT_TRUE(document.finishBoxEdit());
    EXPECT_TRUE(document.applyEditStep(ManualEditStep::undo));
    EXPECT_EQ(document.redactionPlan(), before);
    EXPECT_FALSE(document.manualEditHistory().canUndo());
}

TEST_F(DocumentEdits, ResetAndDeleteFollowTheSelectedBox)
{
    EXPECT_FALSE(document.select(QUuid::createUuid())) << "only an entry of the plan is selected";
    ASSERT_TRUE(document.select(finding.id));
    EXPECT_FALSE(document.resetSelectedBounds()) << "never moved";
    EXPECT_FALSE(document.deleteSelectedManualBox()) << "automatic";
    document.moveBox(finding.id, {0.4, 0.4, 0.2, 0.1});
    document.finishBoxEdit();
    EXPECT_TRUE(document.resetSelectedBounds());
    EXPECT_TRUE(test::rectNear(document.redactionPlan().entries().first().detection.normalizedBounds,
                               finding.normalizedBounds));
    EXPECT_EQ(document.selectedDetectionID(), finding.id) << "the reset box stays selected";
    EXPECT_TRUE(document.applyEditStep(ManualEditStep::undo));
    EXPECT_TRUE(document.deleteSelectedManualBox()) << "a moved box is the user's";
    EXPECT_TRUE(document.redactionPlan().entries().isEmpty());
    EXPECT_FALSE(document.selectedDetectionID());
    EXPECT_TRUE(document.applyEditStep(ManualEditStep::undo));
    EXPECT_EQ(document.redactionPlan().entries().size(), 1);
}

TEST_F(DocumentEdits, EditsWaitWhileItIsScanned)
{
    document.moveBox(finding.id, {0.4, 0.4, 0.2, 0.1});
    document.finishBoxEdit();
    document.select(finding.id);
    const RedactionPlan moved = document.redactionPlan();
    document.beginScan();
    EXPECT_EQ(document.reviewStatusNote(), ReviewText::checking);
    EXPECT_FALSE(document.addManualBox({0.5, 0.5, 0.2, 0.1}));
    EXPECT_FALSE(document.moveBox(finding.id, {0.3, 0.3, 0.2, 0.2}));
    EXPECT_FALSE(document.applyEditStep(ManualEditStep::undo));
    EXPECT_FALSE(document.resetSelectedBounds());
    EXPECT_FALSE(document.deleteSelectedManualBox());
    EXPECT_EQ(document.redactionPlan(), moved);
}

TEST_F(DocumentEdits, AScanEndsWithAPlanAFailureOrACancel)
{
    document.adoptFailure(RedactionPlan(), false);
    EXPECT_EQ(document.errorText(), ReviewText::detectionFailed);
    EXPECT_EQ(document.reviewStatusNote(), ReviewText::tryRescanOrDraw);
    document.addManualBox({0.5, 0.5, 0.2, 0.1});
    document.adoptFailure(document.redactionPlan(), true);
    EXPECT_EQ(document.reviewStatusNote(), ReviewText::reviewManualRedactions);
    EXPECT_FALSE(document.canShare()) << "another scan of it runs";

    document.adoptScan({before, true}, false, true);
    EXPECT_FALSE(document.errorText()) << "a scan that ends with a plan clears the failure";
    EXPECT_EQ(document.reviewStatusNote(), withSkippedPatternsNote(ReviewText::drawManualRedaction, true));
    document.beginScan();
    document.cancelScan();
    EXPECT_FALSE(document.isChecking());
    EXPECT_EQ(document.reviewStatusNote(), ReviewText::detectionCanceled);
    EXPECT_EQ(document.redactionPlan(), before);
}

} // namespace
} // namespace velmora
