#pragma once

#include "app/kit/palette_tint.h"

#include <QWidget>

namespace velmora {

// One symbol, tinted at paint time and centred in a frame of its own size (the empty
// state's hero, a guide row's step symbol, a placeholder's symbol).
class SymbolView : public QWidget
{
    Q_OBJECT
public:
    SymbolView(const QString &symbolName, int edge, PaletteColor color, QWidget *parent = nullptr);

    void setSymbol(const QString &symbolName);
    QString symbol() const { return m_symbol; }
    void setColor(PaletteColor color);
    /// The frame the symbol is centred in; by default as large as the symbol.
    void setFrameSize(QSize size);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_symbol;
    int m_edge;
    QSize m_frame;
    PaletteColor m_color;
};

} // namespace velmora
