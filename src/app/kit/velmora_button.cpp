#include "app/kit/velmora_button.h"

#include "app/kit/look.h"
#include "app/kit/symbol_icon.h"

#include <QPainter>
#include <QPainterPath>

namespace velmora {

namespace {
constexpr int kHorizontalPadding = 12;
constexpr int kVerticalPadding = 6;
constexpr int kSymbolGap = 6;
constexpr qreal kCornerRadius = 6;
} // namespace

VelmoraButton::VelmoraButton(const QString &text, VelmoraControlTone tone, std::optional<int> minWidth,
                             QWidget *parent)
    : QPushButton(text, parent), m_tone(tone), m_minWidth(minWidth)
{
    setFont(look::font(look::TextStyle::callout, QFont::DemiBold));
    setCursor(Qt::PointingHandCursor);
}

void VelmoraButton::setSymbol(const QString &symbolName)
{
    m_symbol = symbolName;
    updateGeometry();
    update();
}

QSize VelmoraButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    int labelWidth = metrics.horizontalAdvance(text());
    if (!m_symbol.isEmpty())
        labelWidth += metrics.height() + (text().isEmpty() ? 0 : kSymbolGap);
    if (m_minWidth)
        labelWidth = qMax(labelWidth, *m_minWidth);
    return {labelWidth + 2 * kHorizontalPadding, metrics.height() + 2 * kVerticalPadding};
}

QSize VelmoraButton::minimumSizeHint() const
{
    return sizeHint();
}

VelmoraButton::Colors VelmoraButton::colors() const
{
    const QPalette &p = palette();
    Colors c;
    switch (m_tone) {
    case VelmoraControlTone::primary:
        c = {look::accent(p), look::accent(p), Qt::white};
        break;
    case VelmoraControlTone::secondary:
        c = {p.color(QPalette::Button), look::divider(p), p.color(QPalette::ButtonText)};
        break;
    case VelmoraControlTone::quiet:
        c = {Qt::transparent, Qt::transparent, look::accent(p)};
        break;
    case VelmoraControlTone::destructive:
        c = {look::withOpacity(look::red(p), 0.12), look::withOpacity(look::red(p), 0.35), look::red(p)};
        break;
    }
    if (isDown() || isChecked())
        c.fill = c.fill.alpha() == 0 ? look::withOpacity(look::accent(p), 0.12) : c.fill.darker(115);
    if (!isEnabled()) {
        c.fill = look::disabled(c.fill);
        c.stroke = look::disabled(c.stroke);
        c.text = look::disabled(c.text);
    }
    return c;
}

void VelmoraButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Colors c = colors();
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(frame, kCornerRadius, kCornerRadius);
    painter.fillPath(path, c.fill);
    if (c.stroke.alpha() > 0) {
        painter.setPen(QPen(c.stroke, 1));
        painter.drawPath(path);
    }
    if (hasFocus()) {
        painter.setPen(QPen(look::focusRing(palette()), 2));
        painter.drawRoundedRect(frame.adjusted(1, 1, -1, -1), kCornerRadius, kCornerRadius);
    }

    const QFontMetrics metrics(font());
    const int symbolEdge = m_symbol.isEmpty() ? 0 : metrics.height();
    const int gap = (m_symbol.isEmpty() || text().isEmpty()) ? 0 : kSymbolGap;
    const int available = width() - 2 * kHorizontalPadding - symbolEdge - gap;
    // Elide only when the label truly does not fit: elidedText also shortens a label
    // whose advance equals the width exactly.
    const QString label = metrics.horizontalAdvance(text()) <= available
        ? text()
        : metrics.elidedText(text(), Qt::ElideRight, available);
    const int contentWidth = symbolEdge + gap + metrics.horizontalAdvance(label);
    int x = (width() - contentWidth) / 2;
    if (symbolEdge > 0) {
        const QPixmap symbol = SymbolIcon::pixmap(m_symbol, symbolEdge, c.text, devicePixelRatioF());
        painter.drawPixmap(x, (height() - symbolEdge) / 2, symbol);
        x += symbolEdge + gap;
    }
    painter.setPen(c.text);
    painter.setFont(font());
    painter.drawText(QRect(x, 0, width() - x, height()), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, label);
}

VelmoraButton *makeVelmoraButton(const QString &title, const QString &symbol, VelmoraControlTone tone,
                                 std::optional<int> minWidth, const QString &identifier, QWidget *parent)
{
    auto *button = new VelmoraButton(title, tone, minWidth, parent);
    button->setSymbol(symbol);
    button->setObjectName(identifier);
    return button;
}

} // namespace velmora
