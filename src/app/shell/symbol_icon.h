#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace velmora {

// The symbols the views name, drawn from the freedesktop icon theme (Adwaita's
// one-colour symbolic icons) or from the project's own SVGs, tinted in code.
// Looked up by the symbol name the views use ("plus.magnifyingglass").
class SymbolIcon
{
public:
    /// Makes Adwaita reachable and preferred; run once at start-up, before any lookup.
    /// Without it the offscreen platform finds no theme at all, and a desktop theme that
    /// lacks a symbolic icon would hand out a coloured one instead.
    static void installIconTheme();

    /// The theme icon name or resource path of a symbol; empty for an unknown symbol.
    static QString source(const QString &symbolName);

    /// The symbol as a square of `edge` device-independent pixels in one colour, rendered
    /// at the device pixel ratio and carrying it. Cached by name, edge, colour and ratio.
    static QPixmap tinted(const QString &symbolName, int edge, const QColor &color, qreal devicePixelRatio);

    /// An icon of the tinted symbol whose disabled mode is the same colour at α 0.45.
    static QIcon icon(const QString &symbolName, int edge, const QColor &color, qreal devicePixelRatio);
};

} // namespace velmora
