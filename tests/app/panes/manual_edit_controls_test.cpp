#include "app/panes/manual_edit_controls.h"

#include <QAbstractButton>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

// Inputs: hasImage, isChecking, canUndo, canRedo, hasAdjustedSelection, hasManualSelection.
constexpr ManualToolInputs kImage{true};
constexpr ManualToolInputs kMovedBox{true, false, true, true, true, true};

// The section on its own, every intent it reports written down in order.
class ManualEditControlsTest : public ::testing::Test
{
protected:
    ManualEditControlsTest()
    {
        const auto note = [this](const char *intent) { return [this, intent] { intents << intent; }; };
        const auto noteOn = [this](const char *intent) { return [this, intent](bool on) { intents << (on ? intent : "-"); }; };
        QObject::connect(&section, &ManualEditControls::drawingToggled, noteOn("draw"));
        QObject::connect(&section, &ManualEditControls::keepDrawingToggled, noteOn("keep"));
        QObject::connect(&section, &ManualEditControls::undoRequested, note("undo"));
        QObject::connect(&section, &ManualEditControls::redoRequested, note("redo"));
        QObject::connect(&section, &ManualEditControls::resetRequested, note("reset"));
        QObject::connect(&section, &ManualEditControls::deleteRequested, note("delete"));
    }

    QAbstractButton *find(const char *identifier) const
    {
        auto *control = section.findChild<QAbstractButton *>(QString::fromLatin1(identifier));
        EXPECT_NE(control, nullptr) << identifier;
        return control;
    }

    QStringList enabledControls() const
    {
        QStringList names;
        for (ManualTool tool : allManualTools()) {
            if (section.control(tool)->isEnabled())
                names << section.control(tool)->objectName();
        }
        return names;
    }

    ManualEditControls section;
    QStringList intents;
};

TEST_F(ManualEditControlsTest, EveryControlCarriesItsIdentifierLabelAndHint)
{
    for (ManualTool tool : allManualTools()) {
        const ManualToolInfo info = manualToolInfo(tool);
        QAbstractButton *control = find(info.identifier.toLatin1().constData());
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->text(), info.title);
        EXPECT_EQ(control->accessibleName(), info.accessibilityLabel);
        EXPECT_EQ(control->isCheckable(), info.isToggle);
    }
    EXPECT_EQ(find("manual-draw-toggle")->accessibleDescription(),
              "Draw a new redaction box over content Velmora missed.");
    EXPECT_TRUE(find("undo-manual-edit-button")->accessibleDescription().isEmpty());
}

TEST_F(ManualEditControlsTest, NothingLoadedDisablesEveryToolWithItsReason)
{
    EXPECT_TRUE(enabledControls().isEmpty());
    EXPECT_EQ(find("manual-draw-toggle")->toolTip(), "Open an image before drawing a manual redaction.");
    EXPECT_EQ(find("manual-sticky-draw-toggle")->toolTip(), "Open an image before using keep drawing.");
    EXPECT_TRUE(find("undo-manual-edit-button")->toolTip().startsWith(
        "Draw, move, reset, or delete a box before Undo is available. ("));
}

TEST_F(ManualEditControlsTest, ALoadedImageEnablesDrawingOnly)
{
    section.showState({kImage});
    EXPECT_EQ(enabledControls(), QStringList({"manual-draw-toggle", "manual-sticky-draw-toggle"}));

    find("manual-draw-toggle")->click();
    find("manual-sticky-draw-toggle")->click();
    EXPECT_EQ(intents, QStringList({"draw", "keep"}));

    section.showState({kImage, true, true});
    section.showState({kImage, false, true}); // draw mode ended elsewhere; the toggle follows and reports nothing
    EXPECT_FALSE(find("manual-draw-toggle")->isChecked());
    EXPECT_TRUE(find("manual-sticky-draw-toggle")->isChecked());
    EXPECT_EQ(intents.size(), 2);
}

TEST_F(ManualEditControlsTest, AMovedBoxEnablesEveryToolEachReportsItsIntentAndAScanLocksThem)
{
    section.showState({kMovedBox});
    EXPECT_EQ(enabledControls().size(), 6);
    EXPECT_EQ(find("reset-selected-bounds-button")->toolTip(), "Restore the selected box to its original detected bounds.");

    for (const char *identifier : {"reset-selected-bounds-button", "undo-manual-edit-button", "redo-manual-edit-button",
                                   "delete-selected-manual-redaction-button"})
        find(identifier)->click();
    EXPECT_EQ(intents, QStringList({"reset", "undo", "redo", "delete"}));

    section.showState({{true, true, true, true, true, true}});
    EXPECT_TRUE(enabledControls().isEmpty());
    EXPECT_TRUE(find("undo-manual-edit-button")->toolTip().startsWith("Undo the last manual change."));
}

TEST_F(ManualEditControlsTest, TheToolsStandInTwoRowsOfThree)
{
    section.resize(320, section.sizeHint().height());
    section.show();
    QList<int> tops;
    for (ManualTool tool : allManualTools())
        tops.append(section.control(tool)->geometry().center().y());
    ASSERT_EQ(tops.size(), 6);
    EXPECT_EQ(QList<int>({tops.at(0), tops.at(1), tops.at(2)}), QList<int>(3, tops.at(0)));
    EXPECT_EQ(QList<int>({tops.at(3), tops.at(4), tops.at(5)}), QList<int>(3, tops.at(3)));
    EXPECT_GT(tops.at(3), tops.at(0));
}

} // namespace
} // namespace velmora::test
