#include "app/panes/manual_edit_controls.h"

#include "app/review/review_commands_fixture.h"

#include <QAbstractButton>

namespace velmora::test {
namespace {

class ManualEditControlsTest : public ReviewCommandsTest
{
protected:
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

    /// An image whose only finding was moved by the user and is selected.
    void loadMovedFinding()
    {
        ReviewDocument item = scannedItem("a.png", {findingOf(DetectionKind::email, "Email", 0.2)});
        const QUuid id = item.redactionPlan().entries().first().id();
        ASSERT_TRUE(item.moveBox(id, {0.4, 0.4, 0.2, 0.1}) && item.finishBoxEdit() && item.select(id));
        loadUnscanned({item});
    }

    ManualEditControls section{controller};
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
    loadUnscanned({scannedItem("a.png", {findingOf(DetectionKind::email, "Email", 0.2)})});
    EXPECT_EQ(enabledControls(), QStringList({"manual-draw-toggle", "manual-sticky-draw-toggle"}));

    find("manual-draw-toggle")->click();
    EXPECT_TRUE(state().isManualEditing);
    EXPECT_TRUE(find("manual-draw-toggle")->isChecked());
    find("manual-sticky-draw-toggle")->click();
    EXPECT_TRUE(state().keepsManualEditingAfterCommit);

    controller.setOutputPreview(true); // ends draw mode; the toggle follows
    EXPECT_FALSE(find("manual-draw-toggle")->isChecked());
}

TEST_F(ManualEditControlsTest, AMovedBoxEnablesUndoResetAndDelete)
{
    loadMovedFinding();
    EXPECT_EQ(enabledControls(), QStringList({"manual-draw-toggle", "manual-sticky-draw-toggle",
                                              "undo-manual-edit-button", "reset-selected-bounds-button",
                                              "delete-selected-manual-redaction-button"}));
    EXPECT_EQ(find("reset-selected-bounds-button")->toolTip(), "Restore the selected box to its original detected bounds.");

    find("reset-selected-bounds-button")->click();
    EXPECT_EQ(state().reviewStatusNote(), "Selected box reset to its original detected bounds.");
    EXPECT_FALSE(find("reset-selected-bounds-button")->isEnabled());
    EXPECT_FALSE(find("delete-selected-manual-redaction-button")->isEnabled());

    find("undo-manual-edit-button")->click();
    EXPECT_TRUE(find("redo-manual-edit-button")->isEnabled());
    EXPECT_TRUE(find("delete-selected-manual-redaction-button")->isEnabled());
    find("delete-selected-manual-redaction-button")->click();
    EXPECT_TRUE(state().redactionPlan().entries().isEmpty());
}

TEST_F(ManualEditControlsTest, AScanLocksEveryTool)
{
    loadMovedFinding();
    controller.startDetection();
    EXPECT_TRUE(enabledControls().isEmpty());
    EXPECT_TRUE(find("undo-manual-edit-button")->toolTip().startsWith("Undo the last manual change."));
    engine.lastCall().finish();
    drainEvents();
    EXPECT_TRUE(find("manual-draw-toggle")->isEnabled());
}

} // namespace
} // namespace velmora::test

namespace velmora::test {
namespace {

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
