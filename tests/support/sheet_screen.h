#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

namespace velmora::testing {

/// How a sheet is drawn.
struct SheetStyle
{
    QString family;
    int pixelSize = 11;
    QColor ink;
    QColor ground;
    QColor grid; ///< Invalid: a sheet without gridlines.
    int rowHeight = 18;
    int padding = 2; ///< Between a cell's edge and its text.
    /// Text set as low as its row allows, its descenders on the gridline below, as in
    /// rows sized tighter than the font; else in the middle of its row.
    bool textOnTheBottomLine = false;
};

/// A cell of a sheet: its text, and whether it is right-aligned, as a sheet sets numbers.
struct SheetCell
{
    QString text;
    bool right = false;
};

/// A sheet drawn with Qt as a spreadsheet draws one: rows of one height, each cell's
/// text on one line, left- or right-aligned, cut off at the cell's edge, except that
/// left-aligned text runs on over the empty cells after it, where no gridline is drawn.
struct DrawnSheet
{
    QImage image;
    QList<QList<QRect>> cells;          ///< [row][column]: the cell inside its gridlines.
    QList<QList<QList<QPoint>>> ink;    ///< [row][column]: the pixels of the cell's text.
};

DrawnSheet drawSheet(const SheetStyle &style, const QList<int> &columnWidths, const QList<QList<SheetCell>> &rows,
                     QSize size, QPoint origin = QPoint(10, 10));

} // namespace velmora::testing
