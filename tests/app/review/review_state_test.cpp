#include "app/review/review_state.h"

#include "review_test_items.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// The image under review is the selected document: every per-image field reads it.
class ReviewStateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ReviewDocument b = test::fileItem("b.png", 90);
        b.adoptOwnPlan(RedactionPlan({}, {face}, {}), face.id);
        b.beginScan();
        b.setReviewStatusNote(QStringLiteral("b's note"));
        b.setErrorText(QStringLiteral("b's error"));
        state.batch.replace({test::fileItem("a.png", 10), b});
    }

    const ReviewDocument &item(int index) const { return state.batch.items().at(index); }

    const Detection face = test::makeFace({0.1, 0.6, 0.2, 0.2});
    ReviewState state;
};

TEST_F(ReviewStateTest, WithoutASelectedItemTheWindowKeepsItsOwnLines)
{
    state.screen.show(item(0).id(), ScreenBitmap::of(test::plainImage(90)));
    EXPECT_EQ(state.batch.current(), nullptr);
    EXPECT_TRUE(state.image().isNull()) << "a decoded image without an item is nothing under review";
    EXPECT_TRUE(state.redactionPlan().entries().isEmpty());
    EXPECT_FALSE(state.isChecking());
    EXPECT_EQ(state.reviewStatusNote(), ReviewText::startPrompt);

    state.setReviewStatusNote(QStringLiteral("Nothing open."));
    state.setErrorText(QStringLiteral("Could not open."));
    EXPECT_EQ(state.reviewStatusNote(), "Nothing open.");
    EXPECT_EQ(state.errorText(), "Could not open.");
    EXPECT_EQ(item(0).reviewStatusNote(), "Queued for on-device scan.");
}

TEST_F(ReviewStateTest, EveryFieldOfTheImageUnderReviewReadsTheSelectedItem)
{
    state.batch.select(item(1).id());
    state.screen.show(item(1).id(), ScreenBitmap::of(test::plainImage(90)));

    EXPECT_EQ(state.batch.current(), &item(1));
    EXPECT_EQ(state.image().pixel(0, 0), test::plainImage(90).pixel(0, 0));
    EXPECT_EQ(state.redactionPlan(), item(1).redactionPlan());
    EXPECT_EQ(state.selectedDetectionID(), face.id);
    EXPECT_TRUE(state.isChecking());
    EXPECT_EQ(state.reviewStatusNote(), "b's note");
    EXPECT_EQ(state.errorText(), "b's error");
    EXPECT_EQ(state.sourceImageURL(), QUrl::fromLocalFile("/shots/b.png"));

    state.batch.select(item(0).id());
    EXPECT_FALSE(state.isChecking());
    EXPECT_TRUE(state.redactionPlan().entries().isEmpty());
}

TEST_F(ReviewStateTest, WritesGoToTheSelectedItemOnly)
{
    state.batch.select(item(0).id());
    state.setReviewStatusNote(QStringLiteral("a's new note"));
    state.setErrorText(QStringLiteral("a's error"));

    EXPECT_EQ(item(0).reviewStatusNote(), "a's new note");
    EXPECT_EQ(item(0).errorText(), "a's error");
    EXPECT_EQ(item(1).reviewStatusNote(), "b's note");
    EXPECT_EQ(state.idleStatusNote, ReviewText::startPrompt);
}

TEST_F(ReviewStateTest, TheWindowsErrorShowsOverTheItemsUntilTheErrorLineIsSetAgain)
{
    state.batch.select(item(1).id());
    state.windowErrorText = QStringLiteral("1 image file could not be opened and was skipped.");
    EXPECT_EQ(state.errorText(), state.windowErrorText);
    EXPECT_EQ(item(1).errorText(), "b's error") << "the window's error is not the item's";

    state.setErrorText(QStringLiteral("Copy failed."));
    EXPECT_EQ(state.errorText(), "Copy failed.");
    EXPECT_FALSE(state.windowErrorText.has_value());

    state.setErrorText(std::nullopt);
    EXPECT_FALSE(state.errorText().has_value());
}

} // namespace
} // namespace velmora
