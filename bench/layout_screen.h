#pragma once

// What a screen of the layout benchmark holds, independent of who draws it: panes and
// windows at fixed places, each with a flow of paragraphs (which wrap at the pane's
// width) and perhaps a table whose narrow cells wrap. Geometry is in CSS pixels at a
// device scale of 1; the Qt painter and headless Chromium each draw it
// (qt_layout_renderer.h, chromium_layout_renderer.h) and report where every character
// landed (placed_text.h).

#include "screen_layout.h"

#include <QColor>
#include <QList>
#include <QRect>
#include <QString>

#include <optional>

namespace bench {

// Pieces of the layouts' text.
inline Piece plain(const QString &text) { return {text}; }
inline Piece sensitive(const QString &text, PlantKind kind) { return {text, kind, true}; }
inline Piece decoy(const QString &text) { return {text, PlantKind::decoy, true}; }
/// A key or identifier; its prefix is the fixed beginning its rule looks for.
inline Piece token(const QString &text)
{
    static const QStringList prefixes{QStringLiteral("sk_live_"), QStringLiteral("sk_test_"), QStringLiteral("customer_"),
                                      QStringLiteral("acct_"), QStringLiteral("AKIA"), QStringLiteral("ghp_"),
                                      QStringLiteral("xoxb-"), QStringLiteral("eyJ"), QStringLiteral("sk-proj-")};
    for (const QString &prefix : prefixes) {
        if (text.startsWith(prefix))
            return {text, PlantKind::token, true, prefix};
    }
    return {text, PlantKind::token, true}; // a random-looking secret: no prefix
}

/// Colours of a desktop theme, light or dark.
struct LayoutTheme
{
    QString name;
    QColor desktop, page, sidebar, text, muted, border, header, highlight, titleBar, titleText, terminal, terminalText;
};

inline QList<LayoutTheme> layoutThemes()
{
    return {
        {QStringLiteral("light"), QColor(0x3b4252), QColor(0xffffff), QColor(0xf3f4f6), QColor(0x1f2328), QColor(0x59636e),
         QColor(0xd0d7de), QColor(0xeef1f4), QColor(0xdbeafe), QColor(0xe5e7eb), QColor(0x24292f), QColor(0x1e1e1e), QColor(0xd4d4d4)},
        {QStringLiteral("dark"), QColor(0x0b0d10), QColor(0x1e1e1e), QColor(0x252526), QColor(0xd4d4d4), QColor(0x9da5b4),
         QColor(0x3c3c3c), QColor(0x2d2d30), QColor(0x264f78), QColor(0x323233), QColor(0xcccccc), QColor(0x0c0c0c), QColor(0xcccccc)},
    };
}

/// The ground a pane's text stands on.
enum class Surface { page, sidebar, terminal };

/// How a paragraph is set: its font, size and colour.
enum class TextRole { heading, text, muted, mono };

/// One paragraph of a pane's flow.
struct Item
{
    TextRole role = TextRole::text;
    QList<Piece> pieces;
    bool highlighted = false; ///< a selected list entry: drawn on the highlight colour
    bool wraps = true;        ///< false: one line, cut at the pane's edge (a terminal line)
};

namespace layout_metrics {
constexpr int kCellPaddingX = 8; ///< a table's, by default
} // namespace layout_metrics

struct Column
{
    QString header;
    double width; ///< in multiples of the font's pixel size, padding included
    bool right = false; ///< its text set to the right (amounts, counts), as sheets set numbers
};

/// A table with a header row; its cells wrap at spaces and, where a word is wider than
/// the cell, inside the word.
struct Table
{
    QList<Column> columns;
    QList<QList<QList<Piece>>> rows = {}; ///< rows of cells of pieces
    bool rules = true;               ///< borders around every cell, or none
    int paddingX = layout_metrics::kCellPaddingX; ///< left and right of a cell's text; a sheet's 2 leaves a space between cells
    /// Set as a page sets a table it does not style (Chromium only): no header row, each
    /// column as wide as its text (or its width, where given), a pixel of padding in each
    /// cell and two between cells, every word broken where a line is full.
    bool unstyled = false;
};

/// A rectangle of the screen: a window (with a title bar) or a pane of one.
struct Pane
{
    QRect frame; ///< CSS pixels
    Surface surface = Surface::page;
    QString title; ///< a window's title bar; empty for none
    int layer = 0; ///< higher layers lie over lower ones
    bool border = true;
    QList<Item> items = {};
    std::optional<Table> table = {}; ///< after the items
};

struct LayoutScreen
{
    QSize size; ///< CSS pixels
    QList<Pane> panes;
};

/// Layout measures shared by the renderers, in CSS pixels.
namespace layout_metrics {
constexpr int kTitleBar = 28;
constexpr int kPadding = 12;
constexpr int kItemGap = 6;     ///< below a paragraph; twice that below a heading
constexpr int kMonoItemGap = 1; ///< below a terminal or code line
constexpr int kCellPaddingY = 5;
constexpr double kLineHeight = 1.4; ///< of the font's pixel size
constexpr int kHeadingLarger = 5;

/// Where a pane's flow may draw: inside its border, below its title bar, inside its padding.
inline QRect contentRect(const Pane &pane)
{
    const int border = pane.border ? 1 : 0;
    const int top = border + (pane.title.isEmpty() ? 0 : kTitleBar) + kPadding;
    return pane.frame.adjusted(border + kPadding, top, -border - kPadding, -border - kPadding);
}
/// The pane inside its border: what its content is clipped to.
inline QRect innerRect(const Pane &pane)
{
    const int border = pane.border ? 1 : 0;
    return pane.frame.adjusted(border, border + (pane.title.isEmpty() ? 0 : kTitleBar), -border, -border);
}
inline QRect titleRect(const Pane &pane)
{
    const int border = pane.border ? 1 : 0;
    return QRect(pane.frame.left() + border, pane.frame.top() + border, pane.frame.width() - 2 * border, kTitleBar);
}
/// The space below a paragraph of `role`.
inline int gapBelow(TextRole role)
{
    return role == TextRole::mono ? kMonoItemGap : role == TextRole::heading ? 2 * kItemGap : kItemGap;
}
} // namespace layout_metrics

/// The ground and text colours of a paragraph of `role` on `surface`.
inline QPair<QColor, QColor> colours(const LayoutTheme &theme, Surface surface, TextRole role, bool highlighted)
{
    if (surface == Surface::terminal)
        return {theme.terminal, theme.terminalText};
    const QColor ground = highlighted ? theme.highlight : surface == Surface::sidebar ? theme.sidebar : theme.page;
    return {ground, role == TextRole::muted ? theme.muted : theme.text};
}

} // namespace bench
