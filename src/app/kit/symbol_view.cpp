#include "app/kit/symbol_view.h"

#include "app/kit/symbol_icon.h"

#include <QPainter>

namespace velmora {

SymbolView::SymbolView(const QString &symbolName, int edge, PaletteColor color, QWidget *parent)
    : QWidget(parent), m_symbol(symbolName), m_edge(edge), m_frame(edge, edge), m_color(std::move(color))
{
    setFixedSize(m_frame);
}

void SymbolView::setColor(PaletteColor color)
{
    m_color = std::move(color);
    update();
}

void SymbolView::setSymbol(const QString &symbolName)
{
    if (symbolName == m_symbol)
        return;
    m_symbol = symbolName;
    update();
}

void SymbolView::setFrameSize(QSize size)
{
    m_frame = size;
    setFixedSize(size);
}

QSize SymbolView::sizeHint() const
{
    return m_frame;
}

void SymbolView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPixmap pixmap = SymbolIcon::pixmap(m_symbol, m_edge, m_color(palette()), devicePixelRatioF());
    painter.drawPixmap((width() - m_edge) / 2, (height() - m_edge) / 2, pixmap);
}

} // namespace velmora
