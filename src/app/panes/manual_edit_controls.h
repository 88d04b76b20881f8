#pragma once

#include "app/review/manual_tool_states.h"

#include <QHash>
#include <QWidget>

class QAbstractButton;

namespace velmora {

/// What the Manual section shows: what decides its tools, and whether Draw and Keep are on.
struct ManualEditState
{
    ManualToolInputs tools;
    bool isDrawing = false;
    bool keepsDrawing = false;
};

// The Manual section of the findings column: Draw and Keep toggles, Undo and Redo,
// Reset and Delete. Enabling and help texts come from the manual tools' table for the
// state it is shown; each control only reports its intent. Each control's object name
// is its identifier ("manual-draw-toggle", ...). The findings column shows the section
// below a divider while an image is loaded.
class ManualEditControls : public QWidget
{
    Q_OBJECT
public:
    explicit ManualEditControls(QWidget *parent = nullptr);

    /// Sets the toggles without reporting them as the user's.
    void showState(const ManualEditState &state);
    QAbstractButton *control(ManualTool tool) const { return m_controls.value(tool); }

signals:
    void drawingToggled(bool on);
    void keepDrawingToggled(bool on);
    void undoRequested();
    void redoRequested();
    void resetRequested();
    void deleteRequested();

protected:
    void changeEvent(QEvent *event) override;

private:
    QAbstractButton *makeControl(ManualTool tool);
    void refreshLook();

    QHash<ManualTool, QAbstractButton *> m_controls;
};

} // namespace velmora
