#pragma once

#include "app/review/manual_tool_states.h"

#include <QHash>
#include <QWidget>

class QAbstractButton;
class QLabel;

namespace velmora {

class ReviewController;

// The Manual section of the findings column: Draw and Keep toggles, Undo and Redo,
// Reset and Delete. Enabling and help texts come from the manual tools' table for the
// controller's state; each control calls one controller operation. Each control's
// object name is its identifier ("manual-draw-toggle", ...). The findings column shows
// the section below a divider while an image is loaded.
class ManualEditControls : public QWidget
{
    Q_OBJECT
public:
    explicit ManualEditControls(ReviewController &controller, QWidget *parent = nullptr);

    QAbstractButton *control(ManualTool tool) const { return m_controls.value(tool); }

protected:
    void changeEvent(QEvent *event) override;

private:
    QAbstractButton *makeControl(ManualTool tool);
    void refresh();
    void refreshLook();

    ReviewController &m_controller;
    QLabel *m_headingIcon = nullptr;
    QLabel *m_headingText = nullptr;
    QHash<ManualTool, QAbstractButton *> m_controls;
};

} // namespace velmora
