#pragma once

#include <QColor>
#include <QPalette>

#include <functional>

class QFont;
class QLabel;
class QWidget;

namespace velmora {

/// A colour derived from the palette a widget is drawn in ("secondary", "orange").
using PaletteColor = std::function<QColor(const QPalette &)>;

namespace look {

/// Keeps `role` of the widget's own palette at `color` of the palette it inherits,
/// through every later palette change (a switch between light and dark). Labels and
/// check boxes get their secondary or accent text this way.
void tint(QWidget *widget, QPalette::ColorRole role, PaletteColor color);
/// `tint` of the foreground roles (WindowText and Text).
void tintText(QWidget *widget, PaletteColor color);

} // namespace look

/// A label in `font`, tinted by `color`; `wraps` lets it grow in height instead of eliding.
QLabel *makeTextLabel(const QString &text, const QFont &font, PaletteColor color, bool wraps = false,
                      QWidget *parent = nullptr);

} // namespace velmora
