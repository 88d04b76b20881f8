#include "app/help/help_navigation_row.h"

#include "app/kit/look.h"

#include <QPainter>

namespace velmora {

namespace {
constexpr int kHorizontalPadding = 10;
constexpr int kVerticalPadding = 7;
constexpr qreal kCornerRadius = 6;
} // namespace

HelpNavigationRow::HelpNavigationRow(HelpTopic topic, QWidget *parent) : QAbstractButton(parent), m_topic(topic)
{
    setObjectName(QStringLiteral("help-nav-") + rawValue(topic));
    setText(helpTopicTitle(topic));
    setAccessibleName(text());
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void HelpNavigationRow::setSelected(bool selected)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    update();
}

QFont HelpNavigationRow::rowFont() const
{
    return look::font(look::TextStyle::callout, m_selected ? QFont::DemiBold : QFont::Normal);
}

QSize HelpNavigationRow::sizeHint() const
{
    // Measured semibold, so that selecting a row never changes its size.
    const QFontMetrics metrics(look::font(look::TextStyle::callout, QFont::DemiBold));
    return {metrics.horizontalAdvance(text()) + 2 * kHorizontalPadding, metrics.height() + 2 * kVerticalPadding};
}

QSize HelpNavigationRow::minimumSizeHint() const
{
    return sizeHint();
}

void HelpNavigationRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &p = palette();
    if (m_selected) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(look::withOpacity(look::accent(p), 0.12));
        painter.drawRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
    }
    painter.setPen(m_selected ? look::accent(p) : look::primary(p));
    painter.setFont(rowFont());
    const QRect textRect = rect().adjusted(kHorizontalPadding, kVerticalPadding, -kHorizontalPadding, -kVerticalPadding);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QFontMetrics(rowFont()).elidedText(text(), Qt::ElideRight, textRect.width()));
    if (hasFocus()) {
        painter.setPen(QPen(look::focusRing(p), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius, kCornerRadius);
    }
}

} // namespace velmora
