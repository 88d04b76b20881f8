#include "app/review/manual_tool_states.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct ToolRow
{
    const char *name;
    ManualTool tool;
    ManualToolInputs inputs;
    bool isEnabled;
    const char *help;
};

class ManualToolStates : public ::testing::TestWithParam<ToolRow>
{
};

TEST_P(ManualToolStates, FollowTheReviewState)
{
    const ToolRow &row = GetParam();
    const ManualToolState state = manualToolState(row.tool, row.inputs);
    EXPECT_EQ(state.isEnabled, row.isEnabled);
    EXPECT_EQ(state.help, QString::fromUtf8(row.help));
}

// Inputs: hasImage, isChecking, canUndo, canRedo, hasAdjustedSelection, hasManualSelection.
constexpr ManualToolInputs nothing{};
constexpr ManualToolInputs image{true};
constexpr ManualToolInputs scanning{true, true};
constexpr ManualToolInputs history{true, false, true, true};
constexpr ManualToolInputs historyWhileScanning{true, true, true, true};
constexpr ManualToolInputs adjusted{true, false, false, false, true, true};
constexpr ManualToolInputs adjustedWhileScanning{true, true, false, false, true, true};
constexpr ManualToolInputs drawn{true, false, false, false, false, true};

INSTANTIATE_TEST_SUITE_P(Rows, ManualToolStates, ::testing::Values(
    ToolRow{"DrawWithoutImage", ManualTool::draw, nothing, false, "Open an image before drawing a manual redaction."},
    ToolRow{"DrawWithImage", ManualTool::draw, image, true, "Draw a new redaction box over content Velmora missed."},
    ToolRow{"DrawWhileScanning", ManualTool::draw, scanning, false, "Draw a new redaction box over content Velmora missed."},
    ToolRow{"KeepWithoutImage", ManualTool::keep, nothing, false, "Open an image before using keep drawing."},
    ToolRow{"KeepWithImage", ManualTool::keep, image, true, "Keep Draw enabled after each manual box."},
    ToolRow{"KeepWhileScanning", ManualTool::keep, scanning, false, "Keep Draw enabled after each manual box."},
    ToolRow{"UndoWithoutHistory", ManualTool::undo, image, false, "Draw, move, reset, or delete a box before Undo is available."},
    ToolRow{"UndoWithHistory", ManualTool::undo, history, true, "Undo the last manual change."},
    ToolRow{"UndoWhileScanningKeepsItsHelp", ManualTool::undo, historyWhileScanning, false, "Undo the last manual change."},
    ToolRow{"RedoWithoutHistory", ManualTool::redo, image, false, "Use Undo before Redo is available."},
    ToolRow{"RedoWithHistory", ManualTool::redo, history, true, "Redo the last undone manual change."},
    ToolRow{"RedoWhileScanning", ManualTool::redo, historyWhileScanning, false, "Redo the last undone manual change."},
    ToolRow{"ResetWithoutAdjustedBox", ManualTool::reset, drawn, false, "Select a moved or resized box to reset its bounds."},
    ToolRow{"ResetAdjustedBox", ManualTool::reset, adjusted, true, "Restore the selected box to its original detected bounds."},
    ToolRow{"ResetWhileScanning", ManualTool::reset, adjustedWhileScanning, false, "Restore the selected box to its original detected bounds."},
    ToolRow{"DeleteWithoutManualBox", ManualTool::delete_, image, false, "Select a manual box you drew to delete it."},
    ToolRow{"DeleteDrawnBox", ManualTool::delete_, drawn, true, "Delete the selected manual redaction box."},
    ToolRow{"DeleteWhileScanning", ManualTool::delete_, adjustedWhileScanning, false, "Delete the selected manual redaction box."}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ManualToolInfos, NameEveryControlOnceAndOnlyDrawHasAHint)
{
    QStringList identifiers;
    for (ManualTool tool : allManualTools()) {
        const ManualToolInfo info = manualToolInfo(tool);
        identifiers << info.identifier;
        EXPECT_EQ(info.accessibilityHint.isEmpty(), tool != ManualTool::draw) << rawValue(tool).toStdString();
        EXPECT_EQ(info.isToggle, tool == ManualTool::draw || tool == ManualTool::keep);
    }
    EXPECT_EQ(identifiers, QStringList({"manual-draw-toggle", "manual-sticky-draw-toggle", "undo-manual-edit-button",
                                        "redo-manual-edit-button", "reset-selected-bounds-button",
                                        "delete-selected-manual-redaction-button"}));
    EXPECT_EQ(manualToolInfo(ManualTool::undo).shortcut, QKeySequence("Ctrl+Z"));
    EXPECT_EQ(manualToolInfo(ManualTool::redo).shortcut, QKeySequence("Ctrl+Shift+Z"));
}

} // namespace
} // namespace velmora
