#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace velmora {

// The symbols the interface names, drawn from the freedesktop icon theme (Adwaita's
// symbolic icons) or, where no theme has a fitting drawing, from Velmora's own SVGs.
// Symbols are one colour; `pixmap` tints them for the palette they are drawn in.
class SymbolIcon
{
public:
    /// Makes the theme reachable everywhere (offscreen and bare X sessions included).
    /// Call once after the QGuiApplication exists.
    static void setUpTheme();

    /// The icon for a symbol name such as "doc.on.doc"; a null icon for an unknown name.
    static QIcon icon(const QString &symbolName);
    /// The symbol tinted in `color`, `edge` device-independent pixels square, for `devicePixelRatio`.
    static QPixmap pixmap(const QString &symbolName, int edge, const QColor &color, qreal devicePixelRatio = 1.0);
};

} // namespace velmora
