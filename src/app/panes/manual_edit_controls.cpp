#include "app/panes/manual_edit_controls.h"

#include "app/kit/check_box_style.h"
#include "app/kit/look.h"
#include "app/kit/symbol_icon.h"
#include "app/kit/symbol_view.h"
#include "app/kit/velmora_button.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace velmora {

namespace {

constexpr int kSpacing = 8;
constexpr int kButtonMinimumWidth = 84;
constexpr qsizetype kToolsPerRow = 3;

VelmoraControlTone toneOf(ManualTool tool)
{
    return tool == ManualTool::delete_ ? VelmoraControlTone::destructive : VelmoraControlTone::quiet;
}

/// The help text, with the key that reaches the same command from the Review menu.
QString toolTipOf(const ManualToolInfo &info, const ManualToolState &state)
{
    if (info.shortcut.isEmpty())
        return state.help;
    return QStringLiteral("%1 (%2)").arg(state.help, info.shortcut.toString(QKeySequence::NativeText));
}

} // namespace

ManualEditControls::ManualEditControls(QWidget *parent) : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kSpacing);
    column->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *heading = new QHBoxLayout;
    heading->setSpacing(4);
    const QFont headingFont = look::font(look::TextStyle::caption, QFont::DemiBold);
    QLabel *headingText = makeTextLabel(QStringLiteral("Manual"), headingFont, look::secondary, false, this);
    headingText->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    heading->addWidget(
        new SymbolView(QStringLiteral("rectangle.dashed"), QFontInfo(headingFont).pixelSize(), look::secondary, this));
    heading->addWidget(headingText);
    heading->addStretch();
    column->addLayout(heading);

    // Three tools a row keeps the block short, so the findings list above it shows more rows.
    const QList<ManualTool> tools = allManualTools();
    for (qsizetype first = 0; first < tools.size(); first += kToolsPerRow) {
        auto *line = new QHBoxLayout;
        line->setSpacing(kSpacing);
        for (qsizetype i = first; i < std::min(first + kToolsPerRow, tools.size()); ++i)
            line->addWidget(makeControl(tools.at(i)), 1, Qt::AlignVCenter);
        column->addLayout(line);
    }

    connect(m_controls.value(ManualTool::draw), &QAbstractButton::toggled, this, &ManualEditControls::drawingToggled);
    connect(m_controls.value(ManualTool::keep), &QAbstractButton::toggled, this, &ManualEditControls::keepDrawingToggled);
    connect(m_controls.value(ManualTool::undo), &QAbstractButton::clicked, this, &ManualEditControls::undoRequested);
    connect(m_controls.value(ManualTool::redo), &QAbstractButton::clicked, this, &ManualEditControls::redoRequested);
    connect(m_controls.value(ManualTool::reset), &QAbstractButton::clicked, this, &ManualEditControls::resetRequested);
    connect(m_controls.value(ManualTool::delete_), &QAbstractButton::clicked, this, &ManualEditControls::deleteRequested);

    refreshLook();
    showState({});
}

QAbstractButton *ManualEditControls::makeControl(ManualTool tool)
{
    const ManualToolInfo info = manualToolInfo(tool);
    QAbstractButton *control = nullptr;
    if (info.isToggle) {
        auto *box = new QCheckBox(info.title, this);
        useVelmoraCheckBox(box);
        control = box;
        control->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        auto *button = new VelmoraButton(info.title, toneOf(tool), kButtonMinimumWidth, this);
        button->setSymbol(info.symbol);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        control = button;
    }
    control->setObjectName(info.identifier);
    control->setAccessibleName(info.accessibilityLabel);
    control->setAccessibleDescription(info.accessibilityHint);
    m_controls.insert(tool, control);
    return control;
}

void ManualEditControls::showState(const ManualEditState &state)
{
    for (ManualTool tool : allManualTools()) {
        QAbstractButton *control = m_controls.value(tool);
        const ManualToolState toolState = manualToolState(tool, state.tools);
        control->setEnabled(toolState.isEnabled);
        control->setToolTip(toolTipOf(manualToolInfo(tool), toolState));
    }
    const QSignalBlocker drawBlocker(m_controls.value(ManualTool::draw));
    const QSignalBlocker keepBlocker(m_controls.value(ManualTool::keep));
    m_controls.value(ManualTool::draw)->setChecked(state.isDrawing);
    m_controls.value(ManualTool::keep)->setChecked(state.keepsDrawing);
}

void ManualEditControls::refreshLook()
{
    for (ManualTool tool : {ManualTool::draw, ManualTool::keep}) {
        QAbstractButton *toggle = m_controls.value(tool);
        const int toggleEdge = QFontInfo(toggle->font()).pixelSize();
        toggle->setIcon(SymbolIcon::pixmap(manualToolInfo(tool).symbol, toggleEdge, look::primary(palette()),
                                           devicePixelRatioF()));
    }
}

void ManualEditControls::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        refreshLook();
    QWidget::changeEvent(event);
}

} // namespace velmora
