#pragma once

#include "core/support/raw_enum.h"

#include <QKeySequence>
#include <QList>
#include <QString>

namespace velmora {

struct ReviewState;

/// The controls of the manual tools section, top to bottom and left to right.
enum class ManualTool { draw, keep, undo, redo, reset, delete_ };

/// What decides the manual tools' enabling and help texts.
struct ManualToolInputs
{
    bool hasImage = false;
    bool isChecking = false;
    bool canUndo = false;
    bool canRedo = false;
    bool hasAdjustedSelection = false; ///< The selected box was moved or resized.
    bool hasManualSelection = false;   ///< The selected box has source `user`.

    friend bool operator==(const ManualToolInputs &, const ManualToolInputs &) = default;
};

/// One control's state. The help text follows its own condition, which is not the
/// enabling rule: Undo keeps "Undo the last manual change." while a scan disables it.
struct ManualToolState
{
    bool isEnabled = false;
    QString help;

    friend bool operator==(const ManualToolState &, const ManualToolState &) = default;
};

/// The fixed face of one control.
struct ManualToolInfo
{
    QString title;
    QString symbol;
    QString identifier;
    QString accessibilityLabel;
    QString accessibilityHint; ///< Only Draw has one.
    QKeySequence shortcut;     ///< Registered by the Review menu; the button only shows it.
    bool isToggle = false;
};

/// Every control, in section order.
QList<ManualTool> allManualTools();
ManualToolInfo manualToolInfo(ManualTool tool);
/// The enabling rule and help text of one control for the given review state.
ManualToolState manualToolState(ManualTool tool, const ManualToolInputs &inputs);
/// The inputs as the review state gives them.
ManualToolInputs manualToolInputs(const ReviewState &state);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::ManualTool,
    {velmora::ManualTool::draw, "draw"}, {velmora::ManualTool::keep, "keep"},
    {velmora::ManualTool::undo, "undo"}, {velmora::ManualTool::redo, "redo"},
    {velmora::ManualTool::reset, "reset"}, {velmora::ManualTool::delete_, "delete"});
