#include "app/kit/plain_button.h"

#include "app/kit/look.h"
#include "app/kit/symbol_icon.h"

#include <QFontInfo>
#include <QPainter>

namespace velmora {

namespace {
constexpr int kSymbolGap = 4;
constexpr int kPadding = 2;
} // namespace

PlainButton::PlainButton(const QString &text, const QFont &font, QWidget *parent)
    : QPushButton(text, parent), m_color(look::accent)
{
    setFont(font);
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PlainButton::setSymbol(const QString &symbolName)
{
    m_symbol = symbolName;
    updateGeometry();
    update();
}

void PlainButton::setColor(PaletteColor color)
{
    m_color = std::move(color);
    update();
}

int PlainButton::symbolEdge() const
{
    return m_symbol.isEmpty() ? 0 : QFontInfo(font()).pixelSize();
}

QSize PlainButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int edge = symbolEdge();
    const int width = edge + (edge > 0 ? kSymbolGap : 0) + metrics.horizontalAdvance(text());
    return {width + 2 * kPadding, qMax(metrics.height(), edge) + 2 * kPadding};
}

QSize PlainButton::minimumSizeHint() const
{
    return sizeHint();
}

void PlainButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QColor color = m_color(palette());
    if (!isEnabled())
        color = look::disabled(color);
    else if (isDown())
        color = look::withOpacity(color, 0.7);
    const int edge = symbolEdge();
    int x = kPadding;
    if (edge > 0) {
        painter.drawPixmap(x, (height() - edge) / 2, SymbolIcon::pixmap(m_symbol, edge, color, devicePixelRatioF()));
        x += edge + kSymbolGap;
    }
    painter.setPen(color);
    painter.setFont(font());
    painter.drawText(QRect(x, 0, width() - x, height()), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text());
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(look::focusRing(palette()), 1));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
}

} // namespace velmora
