#pragma once

#include <QBoxLayout>
#include <QWidget>

namespace velmora {

// A list of widgets kept by key across refreshes: each refresh places the widgets it
// lists in order and drops the rest.

/// Puts `widget` at `index` of `layout` and shows it; a widget already in place is not moved.
inline void showAt(QBoxLayout *layout, QWidget *widget, int index)
{
    if (layout->indexOf(widget) != index) {
        layout->removeWidget(widget);
        layout->insertWidget(index, widget);
    }
    widget->show();
}

/// Takes every widget of `widgets` whose key `listed` lacks out of `layout` and deletes it.
template <typename WidgetsByKey, typename Keys>
void dropUnlisted(WidgetsByKey &widgets, const Keys &listed, QBoxLayout *layout)
{
    for (auto it = widgets.begin(); it != widgets.end();) {
        if (listed.contains(it.key())) {
            ++it;
            continue;
        }
        layout->removeWidget(it.value());
        it.value()->hide();
        it.value()->deleteLater();
        it = widgets.erase(it);
    }
}

} // namespace velmora
