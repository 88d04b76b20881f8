#include "support/table_screen.h"

#include "support/image_fixtures.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace velmora::testing {

namespace {

// Where the word starting at `from` ends: after a hyphen, or before a space.
qsizetype wordEnd(const QString &text, qsizetype from)
{
    qsizetype end = from;
    while (end < text.size() && text[end] != u' ') {
        ++end;
        if (text[end - 1] == u'-')
            break;
    }
    return end;
}

} // namespace

QStringList wrapToWidth(const QString &text, const QFontMetricsF &metrics, double width, bool breakAll)
{
    QStringList lines;
    QString current;
    qsizetype at = 0;
    while (at < text.size()) {
        const bool spaced = text[at] == u' ';
        while (at < text.size() && text[at] == u' ')
            ++at;
        const qsizetype end = breakAll ? std::min(at + 1, text.size()) : wordEnd(text, at);
        const QString word = text.mid(at, end - at);
        at = end;
        const QString joined = current.isEmpty() ? word : current + (spaced ? QStringLiteral(" ") : QString()) + word;
        if (metrics.horizontalAdvance(joined) <= width || current.isEmpty()) {
            current = joined;
        } else {
            lines.append(current);
            current = word;
        }
        // A word wider than the column breaks where it reaches the column's end.
        while (metrics.horizontalAdvance(current) > width && current.size() > 1) {
            qsizetype fits = 1;
            while (fits < current.size() && metrics.horizontalAdvance(current.left(fits + 1)) <= width)
                ++fits;
            lines.append(current.left(fits));
            current = current.mid(fits);
        }
    }
    if (!current.isEmpty())
        lines.append(current);
    return lines;
}

DrawnTable drawTable(const TableStyle &style, const QList<int> &columnWidths, const QList<QStringList> &rows, QSize size,
                     QPoint origin)
{
    QFont font = installedFont(style.family);
    font.setPixelSize(style.pixelSize);
    if (style.unhinted)
        font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF metrics(font);
    const int lineHeight = int(std::lround(style.pixelSize * 1.35));
    const int ruleWidth = style.rule.isValid() ? 1 : 0;

    DrawnTable table;
    table.image = QImage(size, QImage::Format_RGB32);
    table.image.fill(style.ground);
    QPainter painter(&table.image);
    painter.setFont(font);
    int top = origin.y() + ruleWidth;
    for (const QStringList &row : rows) {
        QList<QStringList> wrapped;
        qsizetype deepest = 1;
        for (qsizetype c = 0; c < row.size(); ++c) {
            wrapped.append(wrapToWidth(row[c], metrics, columnWidths[c], style.breakAll));
            deepest = std::max(deepest, wrapped.last().size());
        }
        const int height = int(deepest) * lineHeight + 2 * style.padding;
        QList<QRect> cells;
        QList<QList<QPoint>> ink;
        int left = origin.x() + ruleWidth;
        for (qsizetype c = 0; c < row.size(); ++c) {
            const QRect cell(left, top, columnWidths[c] + 2 * style.padding, height);
            cells.append(cell);
            QList<QPoint> cellInk;
            for (qsizetype l = 0; l < wrapped[c].size(); ++l) {
                const QPointF baseline(cell.left() + style.padding,
                                       cell.top() + style.padding + l * lineHeight + (lineHeight + metrics.ascent() - metrics.descent()) / 2);
                painter.setPen(style.ink);
                painter.drawText(baseline, wrapped[c][l]);
                cellInk.append(textInk(size, font, baseline, wrapped[c][l]));
            }
            ink.append(cellInk);
            left = cell.right() + 1 + ruleWidth;
        }
        table.lines.append(wrapped);
        table.cells.append(cells);
        table.ink.append(ink);
        top += height + ruleWidth;
    }
    if (style.rule.isValid()) {
        painter.setPen(QPen(style.rule, 1));
        const int right = table.cells.front().back().right() + 1;
        int y = origin.y();
        painter.drawLine(origin.x(), y, right, y);
        for (const QList<QRect> &cells : std::as_const(table.cells)) {
            y = cells.front().bottom() + 1;
            painter.drawLine(origin.x(), y, right, y);
        }
        painter.drawLine(origin.x(), origin.y(), origin.x(), y);
        for (const QRect &cell : std::as_const(table.cells.front()))
            painter.drawLine(cell.right() + 1, origin.y(), cell.right() + 1, y);
    }
    painter.end();
    return table;
}

} // namespace velmora::testing
