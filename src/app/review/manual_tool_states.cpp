#include "app/review/manual_tool_states.h"

#include "app/review/finding_queries.h"
#include "app/review/review_state.h"

namespace velmora {

namespace {

const QString drawHelp = QStringLiteral("Draw a new redaction box over content Velmora missed.");

/// The help text chosen by one condition.
QString help(bool condition, const QString &whenTrue, const QString &otherwise)
{
    return condition ? whenTrue : otherwise;
}

} // namespace

QList<ManualTool> allManualTools()
{
    return {ManualTool::draw, ManualTool::keep, ManualTool::undo, ManualTool::redo, ManualTool::reset,
            ManualTool::delete_};
}

ManualToolInfo manualToolInfo(ManualTool tool)
{
    switch (tool) {
    case ManualTool::draw:
        return {QStringLiteral("Draw"), QStringLiteral("plus.rectangle"), QStringLiteral("manual-draw-toggle"),
                QStringLiteral("Draw manual redaction"), drawHelp, {}, true};
    case ManualTool::keep:
        return {QStringLiteral("Keep"), QStringLiteral("pin"), QStringLiteral("manual-sticky-draw-toggle"),
                QStringLiteral("Keep drawing after adding a redaction"), {}, {}, true};
    case ManualTool::undo:
        return {QStringLiteral("Undo"), QStringLiteral("arrow.uturn.backward"), QStringLiteral("undo-manual-edit-button"),
                QStringLiteral("Undo manual edit"), {}, QKeySequence(QStringLiteral("Ctrl+Z")), false};
    case ManualTool::redo:
        return {QStringLiteral("Redo"), QStringLiteral("arrow.uturn.forward"), QStringLiteral("redo-manual-edit-button"),
                QStringLiteral("Redo manual edit"), {}, QKeySequence(QStringLiteral("Ctrl+Shift+Z")), false};
    case ManualTool::reset:
        return {QStringLiteral("Reset"), QStringLiteral("arrow.counterclockwise"),
                QStringLiteral("reset-selected-bounds-button"), QStringLiteral("Reset selected bounds"), {}, {}, false};
    case ManualTool::delete_:
        return {QStringLiteral("Delete"), QStringLiteral("trash"),
                QStringLiteral("delete-selected-manual-redaction-button"),
                QStringLiteral("Delete selected manual redaction"), {}, {}, false};
    }
    return {};
}

ManualToolState manualToolState(ManualTool tool, const ManualToolInputs &in)
{
    switch (tool) {
    case ManualTool::draw:
        return {in.hasImage && !in.isChecking,
                help(in.hasImage, drawHelp, QStringLiteral("Open an image before drawing a manual redaction."))};
    case ManualTool::keep:
        return {in.hasImage && !in.isChecking,
                help(in.hasImage, QStringLiteral("Keep Draw enabled after each manual box."),
                     QStringLiteral("Open an image before using keep drawing."))};
    case ManualTool::undo:
        return {in.canUndo && !in.isChecking,
                help(in.canUndo, QStringLiteral("Undo the last manual change."),
                     QStringLiteral("Draw, move, reset, or delete a box before Undo is available."))};
    case ManualTool::redo:
        return {in.canRedo && !in.isChecking,
                help(in.canRedo, QStringLiteral("Redo the last undone manual change."),
                     QStringLiteral("Use Undo before Redo is available."))};
    case ManualTool::reset:
        return {in.hasAdjustedSelection && !in.isChecking,
                help(in.hasAdjustedSelection, QStringLiteral("Restore the selected box to its original detected bounds."),
                     QStringLiteral("Select a moved or resized box to reset its bounds."))};
    case ManualTool::delete_:
        return {in.hasManualSelection && !in.isChecking,
                help(in.hasManualSelection, QStringLiteral("Delete the selected manual redaction box."),
                     QStringLiteral("Select a manual box you drew to delete it."))};
    }
    return {};
}

ManualToolInputs manualToolInputs(const ReviewState &state)
{
    return {!state.image().isNull(),
            state.isChecking(),
            state.manualEditHistory().canUndo(),
            state.manualEditHistory().canRedo(),
            selectedAdjustedDetectionID(state.redactionPlan(), state.selectedDetectionID()).has_value(),
            selectedManualDetectionID(state.redactionPlan(), state.selectedDetectionID()).has_value()};
}

} // namespace velmora
