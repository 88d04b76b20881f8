#include "support/sheet_screen.h"

#include "support/image_fixtures.h"

#include <QFontMetricsF>
#include <QPainter>

namespace velmora::testing {

DrawnSheet drawSheet(const SheetStyle &style, const QList<int> &columnWidths, const QList<QList<SheetCell>> &rows,
                     QSize size, QPoint origin)
{
    QFont font = installedFont(style.family);
    font.setPixelSize(style.pixelSize);
    const QFontMetricsF metrics(font);
    DrawnSheet sheet;
    sheet.image = QImage(size, QImage::Format_RGB32);
    sheet.image.fill(style.ground);
    QPainter painter(&sheet.image);
    painter.setFont(font);
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const int top = origin.y() + int(r) * style.rowHeight;
        QList<QRect> cells;
        int left = origin.x();
        for (const int width : columnWidths) {
            cells.append(QRect(left + 1, top + 1, width - 1, style.rowHeight - 1));
            left += width;
        }
        // Where each cell's text may show: its own cell, and the empty cells after a
        // left-aligned text too long for its own.
        QList<QRect> shown = cells;
        QList<bool> spilledOnto(cells.size(), false);
        for (qsizetype c = 0; c < rows[r].size(); ++c) {
            const SheetCell &cell = rows[r][c];
            double needed = metrics.horizontalAdvance(cell.text) + 2 * style.padding;
            for (qsizetype next = c + 1; !cell.right && needed > shown[c].width() && next < rows[r].size() && rows[r][next].text.isEmpty(); ++next) {
                shown[c] = shown[c].united(cells[next]);
                spilledOnto[next] = true;
            }
        }
        if (style.grid.isValid()) {
            painter.setPen(style.grid);
            painter.drawLine(origin.x(), top, left, top);
            painter.drawLine(origin.x(), top + style.rowHeight, left, top + style.rowHeight);
            for (qsizetype c = 0; c <= cells.size(); ++c) {
                const int x = c < cells.size() ? cells[c].left() - 1 : left;
                if (c == cells.size() || !spilledOnto[c])
                    painter.drawLine(x, top, x, top + style.rowHeight);
            }
        }
        QList<QList<QPoint>> ink;
        painter.setPen(style.ink);
        for (qsizetype c = 0; c < rows[r].size(); ++c) {
            const SheetCell &cell = rows[r][c];
            const double width = metrics.horizontalAdvance(cell.text);
            const double baselineY = style.textOnTheBottomLine ? top + style.rowHeight - metrics.descent()
                                                               : top + (style.rowHeight + metrics.ascent() - metrics.descent()) / 2;
            const QPointF baseline(cell.right ? cells[c].right() + 1 - style.padding - width : cells[c].left() + style.padding, baselineY);
            painter.setClipRect(shown[c]);
            painter.drawText(baseline, cell.text);
            QList<QPoint> pixels;
            for (const QPoint &p : textInk(size, font, baseline, cell.text)) {
                if (shown[c].contains(p))
                    pixels.append(p);
            }
            ink.append(pixels);
        }
        painter.setClipping(false);
        sheet.cells.append(cells);
        sheet.ink.append(ink);
    }
    painter.end();
    return sheet;
}

} // namespace velmora::testing
