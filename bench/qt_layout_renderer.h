#pragma once

// Draws a layout screen (layout_screen.h) with Qt's painter and font rasteriser: panes in
// the order of their layers, title bars, paragraphs wrapped at the pane's width, tables
// whose cells wrap at spaces and inside words that do not fit.

#include "layout_screen.h"
#include "placed_text.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace bench {

/// The rows a text breaks into at `width`: at spaces, and inside a word wider than the
/// row. Each row is [start, end) of the text, without the spaces it broke at.
inline QList<QPair<qsizetype, qsizetype>> wrappedRows(const QString &text, const QFontMetricsF &metrics, double width)
{
    QList<QPair<qsizetype, qsizetype>> rows;
    const qsizetype n = text.size();
    const auto fits = [&](qsizetype from, qsizetype to) { return metrics.horizontalAdvance(text.mid(from, to - from)) <= width; };
    qsizetype start = 0;
    while (start < n) {
        if (!rows.isEmpty()) {
            while (start < n && text[start] == u' ')
                ++start;
            if (start == n)
                break;
        }
        qsizetype end = start;
        for (qsizetype word = start; word < n;) {
            qsizetype wordEnd = word;
            while (wordEnd < n && text[wordEnd] != u' ')
                ++wordEnd;
            if (fits(start, wordEnd)) {
                end = wordEnd;
                word = wordEnd;
                while (word < n && text[word] == u' ')
                    ++word;
                continue;
            }
            if (end == start) { // a word wider than the row: break inside it
                end = start + 1;
                while (end < wordEnd && fits(start, end + 1))
                    ++end;
            }
            break;
        }
        rows.append({start, std::max(end, start + 1)});
        start = std::max(end, start + 1);
    }
    return rows;
}

class QtLayoutRenderer
{
public:
    QtLayoutRenderer(const Typeface &typeface, const LayoutTheme &theme, int pixelSize, int scale)
        : m_typeface(typeface), m_theme(theme), m_size(pixelSize), m_scale(scale)
    {
    }

    /// The drawn screen, and in `hidden` how many planted values a window hides.
    DrawnScreen draw(const LayoutScreen &layout, int *hidden = nullptr)
    {
        const int s = m_scale;
        DrawnScreen screen;
        screen.image = QImage(layout.size * s, QImage::Format_RGB32);
        screen.image.fill(m_theme.desktop);
        QPainter painter(&screen.image);
        QList<const Pane *> panes;
        for (const Pane &pane : layout.panes)
            panes.append(&pane);
        std::stable_sort(panes.begin(), panes.end(), [](const Pane *a, const Pane *b) { return a->layer < b->layer; });
        QList<Occluder> occluders;
        for (const Pane *pane : panes) {
            drawPane(painter, *pane);
            occluders.append({QRectF(scaled(pane->frame)), pane->layer});
        }
        painter.end();
        const int left = addPlacedTexts(screen, m_texts, occluders);
        if (hidden)
            *hidden = left;
        return screen;
    }

private:
    QRect scaled(const QRect &r) const { return QRect(r.topLeft() * m_scale, r.size() * m_scale); }
    QFont font(TextRole role, bool bold = false) const
    {
        QFont f(role == TextRole::mono ? m_typeface.mono : m_typeface.sans);
        f.setPixelSize((m_size + (role == TextRole::heading ? layout_metrics::kHeadingLarger : 0)) * m_scale);
        f.setBold(bold || role == TextRole::heading);
        return f;
    }
    int lineHeight(TextRole role) const
    {
        const int size = m_size + (role == TextRole::heading ? layout_metrics::kHeadingLarger : 0);
        return int(std::round(size * layout_metrics::kLineHeight)) * m_scale;
    }
    static RowKind kindOf(TextRole role) { return role == TextRole::mono ? RowKind::code : role == TextRole::heading ? RowKind::heading : RowKind::text; }

    void drawPane(QPainter &painter, const Pane &pane)
    {
        const int s = m_scale;
        const QRect frame = scaled(pane.frame);
        const QColor ground = colours(m_theme, pane.surface, TextRole::text, false).first;
        painter.setClipping(false);
        painter.fillRect(frame, ground);
        if (pane.border) {
            painter.fillRect(frame, m_theme.border);
            painter.fillRect(frame.adjusted(s, s, -s, -s), ground);
        }
        if (!pane.title.isEmpty()) {
            const QRect bar = scaled(layout_metrics::titleRect(pane));
            painter.fillRect(bar, m_theme.titleBar);
            painter.setClipRect(bar);
            const QFont titleFont = font(TextRole::text, true);
            const double baseline = bar.top() + (bar.height() - QFontMetricsF(titleFont).height()) / 2 + QFontMetricsF(titleFont).ascent();
            PlacedText title = placedText({{pane.title}});
            title.boxes.resize(title.text.size());
            drawRowInto(title, painter, {0, title.text.size()}, titleFont, m_theme.titleText, bar.left() + 10 * s, baseline);
            finish(title, titleFont, m_theme.titleBar, m_theme.titleText, RowKind::text, bar, pane.layer);
        }
        const QRect inner = scaled(layout_metrics::innerRect(pane));
        const QRect content = scaled(layout_metrics::contentRect(pane));
        painter.setClipRect(inner);
        int y = content.top();
        for (const Item &item : pane.items) {
            const QFont itemFont = font(item.role);
            const QFontMetricsF metrics(itemFont);
            const auto [itemGround, ink] = colours(m_theme, pane.surface, item.role, item.highlighted);
            PlacedText placed = placedText(item.pieces);
            const auto rows = item.wraps ? wrappedRows(placed.text, metrics, content.width())
                                         : QList<QPair<qsizetype, qsizetype>>{{0, placed.text.size()}};
            const int step = lineHeight(item.role);
            if (item.highlighted)
                painter.fillRect(QRect(content.left() - 6 * s, y, content.width() + 12 * s, int(rows.size()) * step), itemGround);
            placed.boxes.resize(placed.text.size());
            for (const auto &row : rows) {
                const double baseline = y + (step - metrics.height()) / 2 + metrics.ascent();
                drawRowInto(placed, painter, row, itemFont, ink, content.left(), baseline);
                y += step;
            }
            finish(placed, itemFont, itemGround, ink, kindOf(item.role), inner, pane.layer);
            y += layout_metrics::gapBelow(item.role) * s;
        }
        if (pane.table)
            drawTable(painter, *pane.table, content.left(), y + layout_metrics::kItemGap * s, inner, pane.layer);
    }

    void drawTable(QPainter &painter, const Table &table, int left, int top, const QRect &clip, int layer)
    {
        const int s = m_scale;
        const int padX = table.paddingX * s, padY = layout_metrics::kCellPaddingY * s;
        const int step = lineHeight(TextRole::text);
        QList<int> widths;
        for (const Column &column : table.columns)
            widths.append(int(std::round(column.width * m_size)) * s);
        const int tableWidth = std::accumulate(widths.cbegin(), widths.cend(), 0);
        QList<QList<QList<Piece>>> rows{{}};
        for (const Column &column : table.columns)
            rows.front().append({{column.header}});
        rows += table.rows;
        int y = top;
        for (qsizetype r = 0; r < rows.size(); ++r) {
            const bool header = r == 0;
            const QFont cellFont = font(TextRole::text, header);
            const QFontMetricsF metrics(cellFont);
            const QColor ground = header ? m_theme.header : m_theme.page;
            QList<PlacedText> cells;
            QList<QList<QPair<qsizetype, qsizetype>>> cellRows;
            qsizetype lines = 1;
            for (qsizetype c = 0; c < rows[r].size() && c < widths.size(); ++c) {
                cells.append(placedText(rows[r][c]));
                cellRows.append(wrappedRows(cells.back().text, metrics, widths[c] - 2 * padX));
                lines = std::max(lines, cellRows.back().size());
            }
            const int height = int(lines) * step + 2 * padY;
            painter.fillRect(QRect(left, y, tableWidth, height), ground);
            int x = left;
            for (qsizetype c = 0; c < cells.size(); ++c) {
                if (table.rules) {
                    painter.setPen(QPen(m_theme.border, s));
                    painter.setBrush(Qt::NoBrush);
                    painter.drawRect(QRectF(x + s / 2.0, y + s / 2.0, widths[c], height));
                }
                PlacedText &cell = cells[c];
                cell.boxes.resize(cell.text.size());
                for (qsizetype row = 0; row < cellRows[c].size(); ++row) {
                    const double baseline = y + padY + row * step + (step - metrics.height()) / 2 + metrics.ascent();
                    const auto [from, to] = cellRows[c][row];
                    const double indent = table.columns[c].right && !header
                        ? widths[c] - 2 * padX - metrics.horizontalAdvance(cell.text.mid(from, to - from)) : 0;
                    drawRowInto(cell, painter, cellRows[c][row], cellFont, m_theme.text, x + padX + indent, baseline);
                }
                finish(cell, cellFont, ground, m_theme.text, RowKind::tableRow, clip, layer);
                x += widths[c];
            }
            y += height;
        }
    }

    /// Draws characters [row.first, row.second) of `placed` on one baseline and notes their boxes.
    static void drawRowInto(PlacedText &placed, QPainter &painter, const QPair<qsizetype, qsizetype> &row, const QFont &font,
                            const QColor &ink, double x, double baseline)
    {
        const QFontMetricsF metrics(font);
        const QString text = placed.text.mid(row.first, row.second - row.first);
        painter.setFont(font);
        painter.setPen(ink);
        painter.drawText(QPointF(x, baseline), text);
        for (qsizetype i = 0; i < text.size(); ++i) {
            const double from = metrics.horizontalAdvance(text.left(i));
            placed.boxes[row.first + i] = QRectF(x + from, baseline - metrics.ascent(), metrics.horizontalAdvance(text.left(i + 1)) - from, metrics.height());
        }
    }

    /// Notes a drawn text with its colours, look and clip.
    void finish(PlacedText &placed, const QFont &font, const QColor &ground, const QColor &ink, RowKind kind, const QRect &clip, int layer)
    {
        placed.ground = ground;
        placed.ink = ink;
        placed.kind = kind;
        placed.look = QStringLiteral("%1 %2 %3 %4").arg(font.family()).arg(font.pixelSize()).arg(ground.name(), ink.name());
        placed.clip = QRectF(clip);
        placed.layer = layer;
        m_texts.append(placed);
    }

    Typeface m_typeface;
    LayoutTheme m_theme;
    int m_size;
    int m_scale;
    QList<PlacedText> m_texts;
};

} // namespace bench
