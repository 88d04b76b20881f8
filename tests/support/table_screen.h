#pragma once

#include <QColor>
#include <QFontMetricsF>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

namespace velmora::testing {

/// How a table is drawn.
struct TableStyle
{
    QString family;
    int pixelSize = 13;
    QColor ink;
    QColor ground;
    QColor rule; ///< Invalid: a table without rules.
    int padding = 8;
    bool breakAll = false; ///< Words break anywhere, each line filled (CSS `word-break: break-all`).
    bool unhinted = false; ///< Glyphs drawn where their outlines fall, as a browser draws them.
};

/// A table drawn with Qt as a browser draws one: the columns' content widths fixed,
/// each cell's text wrapped to its column, top-aligned.
struct DrawnTable
{
    QImage image;
    QList<QList<QStringList>> lines;      ///< [row][column]: the cell's lines as drawn.
    QList<QList<QRect>> cells;            ///< [row][column]: the cell inside its rules.
    QList<QList<QList<QPoint>>> ink;      ///< [row][column]: the pixels of the cell's text.
};

/// Wraps text to a width as a browser wraps a narrow cell: after a space or a hyphen
/// where the next word fits, else inside the word; or, breaking all words, after the
/// last character that fits.
QStringList wrapToWidth(const QString &text, const QFontMetricsF &metrics, double width, bool breakAll = false);

/// Draws the rows (cells left to right) at `origin` on an image of `size`.
DrawnTable drawTable(const TableStyle &style, const QList<int> &columnWidths, const QList<QStringList> &rows,
                     QSize size, QPoint origin = QPoint(20, 20));

} // namespace velmora::testing
