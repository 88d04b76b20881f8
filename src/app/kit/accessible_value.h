#pragma once

#include <QString>

class QWidget;

namespace velmora {

// Qt widgets have an accessible name and description but no settable value. A widget
// given one here is presented to assistive technology with that value (the zoom
// label's "156 percent", a toggle-like button's "Selected"). Qt keeps a widget's
// interface once it made one, so give the first value right after constructing the
// widget, before anything (setAccessibleName included) asks for that interface.
void setAccessibleValue(QWidget *widget, const QString &value);
/// The value of a toggle-like widget: "Selected" or "Not selected".
void setAccessibleSelected(QWidget *widget, bool selected);
QString accessibleValue(const QWidget *widget);

} // namespace velmora
