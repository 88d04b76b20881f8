#pragma once

#include "app/kit/palette_tint.h"

#include <QPushButton>

namespace velmora {

// A borderless button: an optional tinted symbol and the title, nothing behind them
// (the plain and borderless button styles of the panes: "Hide", "Make visible",
// "Open Detection settings"). The text is in the accent colour unless told otherwise.
class PlainButton : public QPushButton
{
    Q_OBJECT
public:
    PlainButton(const QString &text, const QFont &font, QWidget *parent = nullptr);

    void setSymbol(const QString &symbolName);
    void setColor(PaletteColor color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int symbolEdge() const;

    QString m_symbol;
    PaletteColor m_color;
};

} // namespace velmora
