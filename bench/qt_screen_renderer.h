#pragma once

// Draws a benchmark screen with Qt's own painter and font rasteriser.

#include "screen_layout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <cmath>

namespace bench {

class QtScreenRenderer
{
public:
    QtScreenRenderer(const Typeface &typeface, const Palette &palette, int pixelSize, int scale)
        : m_typeface(typeface), m_palette(palette), m_size(pixelSize), m_scale(scale)
    {
    }

    DrawnScreen draw(const QList<Row> &rows)
    {
        const int s = m_scale;
        m_screen.image = QImage(1500 * s, int(rows.size()) * lineHeight(sans()) * 3 + 80 * s, QImage::Format_RGB32);
        m_screen.image.fill(m_palette.page);
        QPainter painter(&m_screen.image);
        int y = 24 * s;
        const int x = 40 * s;
        for (qsizetype r = 0; r < rows.size(); ++r) {
            const Row &row = rows[r];
            switch (row.kind) {
            case RowKind::heading: {
                const QFont font = sans(true, 4);
                y += lineHeight(font);
                drawLine(painter, font, m_palette.text, m_palette.page, x, y, row);
                y += lineHeight(font) / 2;
                break;
            }
            case RowKind::text:
                y += lineHeight(sans()) * 3 / 2;
                drawLine(painter, sans(), m_palette.text, m_palette.page, x, y, row);
                break;
            case RowKind::label:
                // A label stands just above its field's border: a few pixels below its descenders.
                y += lineHeight(sans()) * 3 / 2;
                drawLine(painter, sans(), m_palette.text, m_palette.page, x, y, row);
                y += int(std::ceil(QFontMetricsF(sans()).descent())) + 3 * s;
                break;
            case RowKind::field: {
                const QFontMetricsF metrics(sans());
                const QRect field(x, y, 560 * s, lineHeight(sans()) + 12 * s);
                painter.setPen(QPen(m_palette.border, s));
                painter.drawRect(field.adjusted(0, 0, -1, -1));
                drawLine(painter, sans(), m_palette.text, m_palette.page, x + 9 * s, y + 6 * s + int(std::round(metrics.ascent())), row);
                y = field.bottom();
                break;
            }
            case RowKind::tableRow: {
                if (r == 0 || rows[r - 1].kind != RowKind::tableRow)
                    y += lineHeight(sans());
                const int height = lineHeight(sans()) + 10 * s;
                const QList<int> widths{int(23 * m_size) * s, int(23 * m_size) * s, int(10 * m_size) * s};
                painter.setPen(QPen(m_palette.border, s));
                int cellX = x;
                for (const int width : widths) {
                    painter.drawRect(QRect(cellX, y, width, height));
                    cellX += width;
                }
                const int baseline = y + 5 * s + int(std::round(QFontMetricsF(sans()).ascent()));
                TruthLine line{QString(), QRect(), row.kind};
                cellX = x;
                for (qsizetype c = 0; c < row.pieces.size(); ++c) {
                    const QRect box = drawPieces(painter, sans(), m_palette.text, m_palette.page, cellX + 10 * s, baseline, {row.pieces[c]}, m_screen.lines.size());
                    line.text += (c == 0 ? QString() : QStringLiteral(" ")) + row.pieces[c].text;
                    line.box |= box;
                    cellX += widths[c];
                }
                m_screen.lines.append(line);
                y += height;
                break;
            }
            case RowKind::bubble: {
                const QFontMetricsF metrics(sans());
                y += lineHeight(sans()) + 10 * s;
                double width = 0;
                for (const Piece &piece : row.pieces)
                    width += metrics.horizontalAdvance(piece.text);
                const QRectF bubble(x, y - metrics.ascent() - 7 * s, width + 24 * s, lineHeight(sans()) + 14 * s);
                painter.setPen(Qt::NoPen);
                painter.setBrush(m_palette.bubble);
                painter.setRenderHint(QPainter::Antialiasing);
                painter.drawRoundedRect(bubble, 12 * s, 12 * s);
                drawLine(painter, sans(), m_palette.bubbleText, m_palette.bubble, x + 12 * s, y, row);
                y += 7 * s;
                break;
            }
            case RowKind::code: {
                const int step = lineHeight(mono()) + 3 * s;
                if (r == 0 || rows[r - 1].kind != RowKind::code) {
                    qsizetype count = 0;
                    while (r + count < rows.size() && rows[r + count].kind == RowKind::code)
                        ++count;
                    y += lineHeight(sans());
                    painter.fillRect(QRect(x - 12 * s, y, 1400 * s, int(count) * step + 16 * s), m_palette.code);
                    y += 8 * s;
                }
                y += step;
                drawLine(painter, mono(), m_palette.codeText, m_palette.code, x, y - 3 * s - int(std::round(QFontMetricsF(mono()).descent())), row);
                break;
            }
            }
        }
        painter.end();
        m_screen.image = m_screen.image.copy(0, 0, m_screen.image.width(), std::min(m_screen.image.height(), y + 40 * s));
        return std::move(m_screen);
    }

private:
    QFont font(const QString &family, bool bold, int larger) const
    {
        QFont f(family);
        f.setPixelSize((m_size + larger) * m_scale);
        f.setBold(bold);
        return f;
    }
    QFont sans(bool bold = false, int larger = 0) const { return font(m_typeface.sans, bold, larger); }
    QFont mono() const { return font(m_typeface.mono, false, 0); }
    static int lineHeight(const QFont &font) { return int(std::ceil(QFontMetricsF(font).height())); }

    void drawLine(QPainter &painter, const QFont &font, const QColor &colour, const QColor &ground, int x, int baseline, const Row &row)
    {
        TruthLine line{QString(), QRect(), row.kind};
        for (const Piece &piece : row.pieces)
            line.text += piece.text;
        line.box = drawPieces(painter, font, colour, ground, x, baseline, row.pieces, m_screen.lines.size());
        m_screen.lines.append(line);
    }

    /// Draws the pieces side by side from `x` and gives the box of all of them.
    QRect drawPieces(QPainter &painter, const QFont &font, const QColor &colour, const QColor &ground, int x, int baseline,
                     const QList<Piece> &pieces, qsizetype lineIndex)
    {
        painter.setFont(font);
        painter.setPen(colour);
        const QFontMetricsF metrics(font);
        double cursor = x;
        for (const Piece &piece : pieces) {
            painter.drawText(QPointF(cursor, baseline), piece.text);
            const double advance = metrics.horizontalAdvance(piece.text);
            if (piece.planted) {
                const QRect box = QRectF(cursor, baseline - metrics.ascent(), advance, metrics.height()).toAlignedRect();
                m_pending.append({piece.kind, piece.text, piece.prefix, {{piece.text, box, int(lineIndex)}}, {}});
                m_pendingColours.append({ground, colour});
            }
            cursor += advance;
        }
        flushPending(painter);
        return QRectF(x, baseline - metrics.ascent(), cursor - x, metrics.height()).toAlignedRect();
    }

    /// Reads the ink of the pieces just drawn, now that the line is complete.
    void flushPending(QPainter &painter)
    {
        painter.end();
        for (qsizetype i = 0; i < m_pending.size(); ++i) {
            Planted plant = m_pending[i];
            plant.ink = inkIn(m_screen.image, plant.box(), m_pendingColours[i].first, m_pendingColours[i].second);
            m_screen.plants.append(plant);
        }
        m_pending.clear();
        m_pendingColours.clear();
        painter.begin(&m_screen.image);
    }

    Typeface m_typeface;
    Palette m_palette;
    int m_size;
    int m_scale;
    DrawnScreen m_screen;
    QList<Planted> m_pending;
    QList<QPair<QColor, QColor>> m_pendingColours;
};

} // namespace bench
