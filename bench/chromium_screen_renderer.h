#pragma once

// Draws a benchmark screen as a web page rendered by headless Chromium, so that a real
// browser's hinting and anti-aliasing are measured. The page reports where its lines
// and planted values landed in its DOM, which Chromium dumps.

#include "chromium_shot.h"
#include "screen_layout.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace bench {

class ChromiumScreenRenderer
{
public:
    static bool available() { return chromiumAvailable(); }

    ChromiumScreenRenderer(const Typeface &typeface, const Palette &palette, int pixelSize, int scale)
        : m_typeface(typeface), m_palette(palette), m_size(pixelSize), m_scale(scale)
    {
    }

    /// The drawn screen, or an empty image when Chromium failed.
    DrawnScreen draw(const QList<Row> &rows) const
    {
        DrawnScreen screen;
        const ChromiumShot shot = chromiumShot(html(rows), QSize(1400, pageHeight()), m_scale);
        screen.image = shot.image;
        const QByteArray reported = shot.reported("boxes");
        if (screen.image.isNull() || reported.isEmpty())
            return {};
        const QJsonObject boxes = QJsonDocument::fromJson(reported).object();
        const auto rect = [this](const QJsonValue &v) {
            const QJsonArray a = v.toArray();
            return QRectF(a[0].toDouble() * m_scale, a[1].toDouble() * m_scale, a[2].toDouble() * m_scale, a[3].toDouble() * m_scale)
                .toAlignedRect();
        };
        const QJsonArray lines = boxes.value(u"lines").toArray();
        const QJsonArray values = boxes.value(u"values").toArray();
        qsizetype valueIndex = 0;
        for (qsizetype r = 0; r < rows.size() && r < lines.size(); ++r) {
            const Row &row = rows[r];
            TruthLine line{QString(), rect(lines[r]), row.kind};
            for (const Piece &piece : row.pieces) {
                line.text += (row.kind == RowKind::tableRow && !line.text.isEmpty() ? QStringLiteral(" ") : QString()) + piece.text;
                if (!piece.planted || valueIndex >= values.size())
                    continue;
                const QRect box = rect(values[valueIndex++]);
                const QColor ground = row.kind == RowKind::bubble ? m_palette.bubble : row.kind == RowKind::code ? m_palette.code : m_palette.page;
                const QColor ink = row.kind == RowKind::bubble ? m_palette.bubbleText : row.kind == RowKind::code ? m_palette.codeText : m_palette.text;
                screen.plants.append({piece.kind, piece.text, piece.prefix, {{piece.text, box, int(r)}}, inkIn(screen.image, box, ground, ink)});
            }
            screen.lines.append(line);
        }
        return screen;
    }

private:
    int pageHeight() const { return 70 * m_size + 200; }

    static QString escaped(const QString &text) { return text.toHtmlEscaped(); }

    QString html(const QList<Row> &rows) const
    {
        const auto colour = [](const QColor &c) { return c.name(); };
        QString body;
        bool inCode = false, inTable = false;
        for (const Row &row : rows) {
            if (inCode && row.kind != RowKind::code)
                body += QStringLiteral("</div>"), inCode = false;
            if (inTable && row.kind != RowKind::tableRow)
                body += QStringLiteral("</table>"), inTable = false;
            QString content;
            for (const Piece &piece : row.pieces) {
                const QString text = piece.planted ? QStringLiteral("<span class=\"V\">%1</span>").arg(escaped(piece.text)) : escaped(piece.text);
                content += row.kind == RowKind::tableRow ? QStringLiteral("<td>%1</td>").arg(text) : text;
            }
            switch (row.kind) {
            case RowKind::heading: body += QStringLiteral("<h2><span class=\"L\">%1</span></h2>").arg(content); break;
            case RowKind::text: body += QStringLiteral("<p><span class=\"L\">%1</span></p>").arg(content); break;
            case RowKind::label: body += QStringLiteral("<label><span class=\"L\">%1</span></label>").arg(content); break;
            case RowKind::field: body += QStringLiteral("<div class=\"field\"><span class=\"L\">%1</span></div>").arg(content); break;
            case RowKind::bubble: body += QStringLiteral("<div><div class=\"bubble\"><span class=\"L\">%1</span></div></div>").arg(content); break;
            case RowKind::tableRow:
                if (!inTable)
                    body += QStringLiteral("<table>"), inTable = true;
                body += QStringLiteral("<tr class=\"L\">%1</tr>").arg(content);
                break;
            case RowKind::code:
                if (!inCode)
                    body += QStringLiteral("<div class=\"code\">"), inCode = true;
                body += QStringLiteral("<div><span class=\"L\">%1</span></div>").arg(content);
                break;
            }
        }
        body += inCode ? QStringLiteral("</div>") : QString();
        body += inTable ? QStringLiteral("</table>") : QString();
        return QStringLiteral(
                   "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><style>"
                   "body{margin:24px 40px;background:%1;color:%2;font:%3px '%4';}"
                   "h2{font-size:%5px;margin:8px 0 12px}p{margin:14px 0}"
                   "label{display:block;margin:16px 0 3px}"
                   ".field{border:1px solid %6;border-radius:4px;padding:6px 9px;width:560px}"
                   "table{border-collapse:collapse;margin:16px 0}td{border:1px solid %6;padding:5px 10px;width:%7px}"
                   ".bubble{display:inline-block;background:%8;color:%9;border-radius:12px;padding:7px 12px;margin:6px 0}"
                   ".code{background:%10;color:%11;font-family:'%12';padding:8px 12px;margin:16px 0;white-space:pre;width:1300px}"
                   ".code div{line-height:1.35}#boxes{display:none}"
                   "</style></head><body>%13<pre id=\"boxes\"></pre><script>"
                   "const r=e=>{const b=e.getBoundingClientRect();return [b.left,b.top,b.width,b.height];};"
                   "document.getElementById('boxes').textContent=JSON.stringify({"
                   "lines:[...document.querySelectorAll('.L')].map(r),values:[...document.querySelectorAll('.V')].map(r)});"
                   "</script></body></html>")
            .arg(colour(m_palette.page), colour(m_palette.text), QString::number(m_size), m_typeface.sans,
                 QString::number(m_size + 4), colour(m_palette.border), QString::number(16 * m_size),
                 colour(m_palette.bubble), colour(m_palette.bubbleText))
            .arg(colour(m_palette.code), colour(m_palette.codeText), m_typeface.mono, body);
    }

    Typeface m_typeface;
    Palette m_palette;
    int m_size;
    int m_scale;
};

} // namespace bench
