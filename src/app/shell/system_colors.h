#pragma once

#include <QColor>
#include <QPalette>

namespace velmora {

// The system colours the views name, taken from a widget's palette at paint time so
// that light and dark palettes both work. Fixed colours follow the palette's lightness.
namespace SystemColors {

/// A palette is dark when its window colour is.
bool isDark(const QPalette &palette);

QColor accent(const QPalette &palette);    ///< Highlight.
QColor primary(const QPalette &palette);   ///< WindowText.
QColor secondary(const QPalette &palette); ///< WindowText at α 0.5 (0.55 when dark).
QColor orange(const QPalette &palette);    ///< #FF9500 light, #FF9F0A dark.

/// The colour with its alpha multiplied by `opacity` ("X at opacity a").
QColor withOpacity(QColor color, double opacity);

} // namespace SystemColors

} // namespace velmora
