#include "app/kit/accessible_value.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

namespace velmora {

namespace {

constexpr char kValueProperty[] = "velmoraAccessibleValue";

class ValuedWidgetAccessible : public QAccessibleWidget
{
public:
    explicit ValuedWidgetAccessible(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return accessibleValue(widget());
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *valuedWidgetFactory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (widget && widget->property(kValueProperty).isValid())
        return new ValuedWidgetAccessible(widget);
    return nullptr;
}

} // namespace

void setAccessibleValue(QWidget *widget, const QString &value)
{
    static const bool installed = [] {
        QAccessible::installFactory(valuedWidgetFactory);
        return true;
    }();
    Q_UNUSED(installed);
    if (accessibleValue(widget) == value && widget->property(kValueProperty).isValid())
        return;
    widget->setProperty(kValueProperty, value);
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(widget, value);
        QAccessible::updateAccessibility(&event);
    }
}

void setAccessibleSelected(QWidget *widget, bool selected)
{
    setAccessibleValue(widget, selected ? QObject::tr("Selected") : QObject::tr("Not selected"));
}

QString accessibleValue(const QWidget *widget)
{
    return widget->property(kValueProperty).toString();
}

} // namespace velmora
