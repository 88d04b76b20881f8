#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

class QWidget;

// Velmora's colours and text styles, taken from the widget's palette at paint time so
// that light and dark palettes both work.
namespace velmora::look {

bool isDark(const QPalette &palette);

QColor accent(const QPalette &palette);    ///< Outlines, selection, links, selected chips.
QColor primary(const QPalette &palette);   ///< Label colour on window-coloured areas.
QColor secondary(const QPalette &palette); ///< Secondary labels.
QColor orange(const QPalette &palette);    ///< Needs review, warnings.
QColor green(const QPalette &palette);
QColor red(const QPalette &palette);
QColor blue(const QPalette &palette);
QColor divider(const QPalette &palette);
/// `color` with its alpha multiplied by `opacity`.
QColor withOpacity(QColor color, qreal opacity);
/// `color` as a disabled control draws it.
QColor disabled(QColor color);
/// The outline around a control with keyboard focus.
QColor focusRing(const QPalette &palette);

/// The text styles, as factors of the application font.
enum class TextStyle { title2, title3, headline, body, callout, footnote, caption, caption2 };
QFont font(TextStyle style, QFont::Weight weight);
QFont font(TextStyle style); ///< With the style's default weight.
QFont monospaced(TextStyle style, QFont::Weight weight = QFont::Normal);

/// A 1 px divider line widget (horizontal or vertical).
QWidget *makeDivider(Qt::Orientation orientation, QWidget *parent = nullptr);

} // namespace velmora::look
