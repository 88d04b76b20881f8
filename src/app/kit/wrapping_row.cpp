#include "app/kit/wrapping_row.h"

#include <QEvent>

namespace velmora {

WrappingRow::WrappingRow(int spacing, QWidget *parent) : QWidget(parent), m_spacing(spacing)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void WrappingRow::addWidget(QWidget *widget)
{
    widget->setParent(this);
    m_widgets.append(widget);
    updateGeometry();
    place();
}

QList<QWidget *> WrappingRow::shown() const
{
    QList<QWidget *> result;
    for (QWidget *widget : m_widgets) {
        if (!widget->isHidden())
            result.append(widget);
    }
    return result;
}

int WrappingRow::sideBySideWidth() const
{
    const QList<QWidget *> widgets = shown();
    int width = 0;
    for (QWidget *widget : widgets)
        width += widget->sizeHint().width();
    return width + m_spacing * qMax(0, int(widgets.size()) - 1);
}

QSize WrappingRow::sizeHint() const
{
    int height = 0;
    for (QWidget *widget : shown())
        height = qMax(height, widget->sizeHint().height());
    return {sideBySideWidth(), height};
}

QSize WrappingRow::minimumSizeHint() const
{
    int width = 0;
    for (QWidget *widget : shown())
        width = qMax(width, widget->sizeHint().width());
    return {width, heightForWidth(width)};
}

int WrappingRow::heightForWidth(int width) const
{
    if (width >= sideBySideWidth())
        return sizeHint().height();
    const QList<QWidget *> widgets = shown();
    int height = 0;
    for (QWidget *widget : widgets)
        height += widget->sizeHint().height();
    return height + m_spacing * qMax(0, int(widgets.size()) - 1);
}

void WrappingRow::place()
{
    const bool sideBySide = width() >= sideBySideWidth();
    int x = 0;
    int y = 0;
    for (QWidget *widget : shown()) {
        const QSize size = widget->sizeHint();
        widget->setGeometry(x, y, qMin(size.width(), qMax(0, width() - x)), size.height());
        if (sideBySide)
            x += size.width() + m_spacing;
        else
            y += size.height() + m_spacing;
    }
}

void WrappingRow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    place();
}

bool WrappingRow::event(QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        place();
    }
    return QWidget::event(event);
}

} // namespace velmora
