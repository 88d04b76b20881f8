#include "app/kit/capsule_label.h"

#include "app/kit/look.h"
#include "app/kit/symbol_icon.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace velmora {

namespace {
constexpr int kSymbolGap = 4;
} // namespace

CapsuleLabel::CapsuleLabel(const QString &text, const QFont &font, QWidget *parent)
    : QWidget(parent), m_text(text), m_foreground(look::primary),
      m_background([](const QPalette &p) { return p.color(QPalette::Base); })
{
    setFont(font);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(text);
}

void CapsuleLabel::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void CapsuleLabel::setSymbol(const QString &symbolName)
{
    m_symbol = symbolName;
    updateGeometry();
    update();
}

void CapsuleLabel::setColors(PaletteColor foreground, PaletteColor background)
{
    m_foreground = std::move(foreground);
    m_background = std::move(background);
    update();
}

void CapsuleLabel::setBorder(PaletteColor color, qreal width)
{
    m_border = std::move(color);
    m_borderWidth = width;
    update();
}

void CapsuleLabel::setPadding(int horizontal, int vertical)
{
    m_padding = QMargins(horizontal, vertical, horizontal, vertical);
    updateGeometry();
}

void CapsuleLabel::setMinimumText(const QString &text)
{
    m_minimumText = text;
    updateGeometry();
}

int CapsuleLabel::symbolEdge() const
{
    return m_symbol.isEmpty() ? 0 : QFontInfo(font()).pixelSize();
}

int CapsuleLabel::contentWidth(const QString &text) const
{
    const int edge = symbolEdge();
    const int textWidth = QFontMetrics(font()).horizontalAdvance(text);
    return edge + (edge > 0 && !text.isEmpty() ? kSymbolGap : 0) + textWidth;
}

QSize CapsuleLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int width = qMax(contentWidth(m_text), contentWidth(m_minimumText));
    const int height = qMax(metrics.height(), symbolEdge());
    return {width + m_padding.left() + m_padding.right(), height + m_padding.top() + m_padding.bottom()};
}

QSize CapsuleLabel::minimumSizeHint() const
{
    return sizeHint();
}

QColor CapsuleLabel::foregroundColor() const
{
    return m_foreground(palette());
}

QColor CapsuleLabel::backgroundColor() const
{
    return m_background(palette());
}

void CapsuleLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    const qreal radius = bounds.height() / 2;
    QPainterPath capsule;
    capsule.addRoundedRect(bounds, radius, radius);
    painter.fillPath(capsule, backgroundColor());
    if (m_border && m_borderWidth > 0) {
        const qreal inset = m_borderWidth / 2;
        painter.setPen(QPen(m_border(palette()), m_borderWidth));
        painter.drawRoundedRect(bounds.adjusted(inset, inset, -inset, -inset), radius - inset, radius - inset);
    }

    const QColor foreground = foregroundColor();
    const int edge = symbolEdge();
    int x = (width() - contentWidth(m_text)) / 2;
    if (edge > 0) {
        painter.drawPixmap(x, (height() - edge) / 2, SymbolIcon::pixmap(m_symbol, edge, foreground, devicePixelRatioF()));
        x += edge + (m_text.isEmpty() ? 0 : kSymbolGap);
    }
    painter.setPen(foreground);
    painter.setFont(font());
    painter.drawText(QRect(x, 0, width() - x, height()), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, m_text);
}

} // namespace velmora
