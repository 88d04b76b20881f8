#include "app/panes/batch_category_chip.h"

#include "app/kit/accessible_value.h"
#include "app/kit/look.h"

#include <QPainter>
#include <QPainterPath>

namespace velmora {

namespace {
constexpr int kHorizontalPadding = 9;
constexpr int kVerticalPadding = 5;
constexpr int kSpacing = 4;

QFont titleFont() { return look::font(look::TextStyle::caption, QFont::DemiBold); }
QFont badgeFont() { return look::font(look::TextStyle::caption2, QFont::Bold); }
} // namespace

BatchCategoryChip::BatchCategoryChip(const QString &title, std::optional<int> count, QWidget *parent)
    : QAbstractButton(parent), m_count(count)
{
    setSelected(false); // first: the accessible value must precede the accessible interface
    setText(title);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void BatchCategoryChip::setSelected(bool selected)
{
    m_selected = selected;
    setAccessibleSelected(this, selected);
    update();
}

QSize BatchCategoryChip::badgeSize() const
{
    if (!m_count)
        return {};
    const QFontMetrics metrics(badgeFont());
    // Room for the widest digits, so that counts do not make the chip jump.
    const int digits = qMax(metrics.horizontalAdvance(QString::number(*m_count)),
                            metrics.horizontalAdvance(QString(QString::number(*m_count).size(), QLatin1Char('0'))));
    return {digits + 10, metrics.height() + 2};
}

QSize BatchCategoryChip::sizeHint() const
{
    const QFontMetrics metrics(titleFont());
    int width = metrics.horizontalAdvance(text());
    int height = metrics.height();
    if (m_count) {
        const QSize badge = badgeSize();
        width += kSpacing + badge.width();
        height = qMax(height, badge.height());
    }
    return {width + 2 * kHorizontalPadding, height + 2 * kVerticalPadding};
}

QSize BatchCategoryChip::minimumSizeHint() const
{
    return sizeHint();
}

void BatchCategoryChip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &p = palette();
    const QRectF bounds = rect();
    QPainterPath capsule;
    capsule.addRoundedRect(bounds, bounds.height() / 2, bounds.height() / 2);
    painter.fillPath(capsule, m_selected ? look::accent(p) : look::withOpacity(p.color(QPalette::Button), 0.55));
    const QColor foreground = m_selected ? QColor(Qt::white) : look::primary(p);

    const QFontMetrics metrics(titleFont());
    int x = kHorizontalPadding;
    painter.setFont(titleFont());
    painter.setPen(foreground);
    painter.drawText(QRect(x, 0, metrics.horizontalAdvance(text()) + 1, height()), Qt::AlignVCenter | Qt::TextSingleLine,
                     text());
    x += metrics.horizontalAdvance(text()) + kSpacing;
    if (m_count) {
        const QSize size = badgeSize();
        const QRectF badge(x, (height() - size.height()) / 2.0, size.width(), size.height());
        QPainterPath badgeShape;
        badgeShape.addRoundedRect(badge, badge.height() / 2, badge.height() / 2);
        painter.fillPath(badgeShape, m_selected ? look::withOpacity(Qt::white, 0.22)
                                                : look::withOpacity(look::secondary(p), 0.12));
        painter.setFont(badgeFont());
        painter.drawText(badge, Qt::AlignCenter, QString::number(*m_count));
    }
    if (hasFocus()) {
        painter.setPen(QPen(look::focusRing(p), 1));
        painter.drawRoundedRect(bounds.adjusted(0.5, 0.5, -0.5, -0.5), bounds.height() / 2, bounds.height() / 2);
    }
}

} // namespace velmora
