#include "app/kit/check_box_style.h"

#include "app/kit/look.h"

#include <QApplication>
#include <QCheckBox>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>

namespace velmora {

namespace {

constexpr qreal kCornerRadius = 3;

// The application's style with its check box indicator replaced: the platform's own
// indicator may draw its outline darker than a dark window, where it disappears.
class CheckBoxStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (element != PE_IndicatorCheckBox) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const QPalette &p = option->palette;
        const bool checked = option->state & (State_On | State_NoChange);
        const bool enabled = option->state & State_Enabled;
        const QRectF box = QRectF(option->rect).adjusted(1.5, 1.5, -1.5, -1.5);
        QColor fill = checked ? look::accent(p) : p.color(QPalette::Base);
        QColor outline = checked ? look::accent(p) : look::secondary(p);
        if (!enabled) {
            fill = look::disabled(fill);
            outline = look::disabled(outline);
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(outline, 1));
        painter->setBrush(fill);
        painter->drawRoundedRect(box, kCornerRadius, kCornerRadius);
        if (checked) {
            QPainterPath mark;
            mark.moveTo(box.left() + box.width() * 0.25, box.top() + box.height() * 0.52);
            mark.lineTo(box.left() + box.width() * 0.43, box.top() + box.height() * 0.72);
            mark.lineTo(box.left() + box.width() * 0.76, box.top() + box.height() * 0.30);
            painter->setPen(QPen(enabled ? QColor(Qt::white) : look::disabled(Qt::white), 1.6, Qt::SolidLine,
                                 Qt::RoundCap, Qt::RoundJoin));
            painter->setBrush(Qt::NoBrush);
            painter->drawPath(mark);
        }
        painter->restore();
    }
};

} // namespace

void useVelmoraCheckBox(QCheckBox *checkBox)
{
    static QPointer<CheckBoxStyle> style;
    if (!style) {
        style = new CheckBoxStyle(QApplication::style()->name());
        style->setParent(qApp);
    }
    checkBox->setStyle(style);
}

} // namespace velmora
