#pragma once

// Draws a layout screen (layout_screen.h) as a web page in headless Chromium: panes and
// windows placed absolutely, paragraphs and table cells laid out and wrapped by the
// browser. The page's script reports every character's box, from which the lines and
// values follow as the browser drew them (placed_text.h).

#include "chromium_shot.h"
#include "layout_screen.h"
#include "placed_text.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace bench {

class ChromiumLayoutRenderer
{
public:
    ChromiumLayoutRenderer(const Typeface &typeface, const LayoutTheme &theme, int pixelSize, int scale)
        : m_typeface(typeface), m_theme(theme), m_size(pixelSize), m_scale(scale)
    {
    }

    /// The drawn screen, or an empty image when Chromium failed; in `hidden` how many
    /// planted values a window hides.
    DrawnScreen draw(const LayoutScreen &layout, int *hidden = nullptr)
    {
        m_texts.clear();
        QList<Occluder> occluders;
        QString body;
        for (const Pane &pane : layout.panes) {
            body += paneHtml(pane);
            occluders.append({scaled(pane.frame), pane.layer});
        }
        DrawnScreen screen;
        const ChromiumShot shot = chromiumShot(page(layout, body), layout.size, m_scale);
        const QJsonArray blocks = QJsonDocument::fromJson(shot.reported("boxes")).array();
        if (shot.image.isNull() || blocks.size() != m_texts.size())
            return screen;
        screen.image = shot.image;
        for (qsizetype b = 0; b < m_texts.size(); ++b) {
            const QJsonArray boxes = blocks[b].toArray();
            PlacedText &placed = m_texts[b];
            if (boxes.size() != placed.text.size())
                return {};
            for (const QJsonValue &box : boxes) {
                const QJsonArray a = box.toArray();
                const QRectF r(a[0].toDouble() * m_scale, a[1].toDouble() * m_scale, a[2].toDouble() * m_scale, a[3].toDouble() * m_scale);
                placed.boxes.append(r.isEmpty() ? QRectF() : r);
            }
        }
        const int left = addPlacedTexts(screen, m_texts, occluders);
        if (hidden)
            *hidden = left;
        return screen;
    }

private:
    QRectF scaled(const QRect &r) const { return QRectF(r.x() * m_scale, r.y() * m_scale, r.width() * m_scale, r.height() * m_scale); }

    QString family(TextRole role) const { return role == TextRole::mono ? m_typeface.mono : m_typeface.sans; }
    static RowKind kindOf(TextRole role) { return role == TextRole::mono ? RowKind::code : role == TextRole::heading ? RowKind::heading : RowKind::text; }

    /// Notes a text block the page will report, in the page's order, and gives its HTML.
    QString block(const QList<Piece> &pieces, TextRole role, bool bold, const QColor &ground, const QColor &ink, RowKind kind,
                  const QRect &clip, int layer)
    {
        PlacedText placed = placedText(pieces);
        const int size = (m_size + (role == TextRole::heading ? layout_metrics::kHeadingLarger : 0)) * m_scale;
        placed.ground = ground;
        placed.ink = ink;
        placed.kind = kind;
        placed.look = QStringLiteral("%1 %2%3 %4 %5").arg(family(role)).arg(size).arg(bold ? QStringLiteral(" bold") : QString(), ground.name(), ink.name());
        placed.clip = scaled(clip);
        placed.layer = layer;
        m_texts.append(placed);
        return QStringLiteral("<span class=\"T\">%1</span>").arg(placed.text.toHtmlEscaped());
    }

    QString paneHtml(const Pane &pane)
    {
        const QColor ground = colours(m_theme, pane.surface, TextRole::text, false).first;
        QString html = QStringLiteral("<div class=\"pane\" style=\"left:%1px;top:%2px;width:%3px;height:%4px;z-index:%5;background:%6;%7\">")
                           .arg(pane.frame.x()).arg(pane.frame.y()).arg(pane.frame.width()).arg(pane.frame.height()).arg(pane.layer)
                           .arg(ground.name(), pane.border ? QStringLiteral("border:1px solid %1").arg(m_theme.border.name()) : QString());
        if (!pane.title.isEmpty()) {
            html += QStringLiteral("<div class=\"title\">%1</div>")
                        .arg(block({{pane.title}}, TextRole::text, true, m_theme.titleBar, m_theme.titleText, RowKind::text,
                                   layout_metrics::titleRect(pane), pane.layer));
        }
        const QRect clip = layout_metrics::innerRect(pane);
        html += QStringLiteral("<div class=\"content\">");
        for (const Item &item : pane.items) {
            const auto [itemGround, ink] = colours(m_theme, pane.surface, item.role, item.highlighted);
            const int size = m_size + (item.role == TextRole::heading ? layout_metrics::kHeadingLarger : 0);
            html += QStringLiteral("<div class=\"%1%2\" style=\"font-family:'%3';font-size:%4px;color:%5;margin-bottom:%6px%7\">%8</div>")
                        .arg(item.wraps ? QStringLiteral("wrap") : QStringLiteral("line"), item.highlighted ? QStringLiteral(" selected") : QString(),
                             family(item.role))
                        .arg(size)
                        .arg(ink.name())
                        .arg(layout_metrics::gapBelow(item.role))
                        .arg(item.role == TextRole::heading ? QStringLiteral(";font-weight:bold") : QString(),
                             block(item.pieces, item.role, false, itemGround, ink, kindOf(item.role), clip, pane.layer));
        }
        if (pane.table)
            html += tableHtml(*pane.table, clip, pane.layer);
        return html + QStringLiteral("</div></div>");
    }

    QString tableHtml(const Table &table, const QRect &clip, int layer)
    {
        if (table.unstyled)
            return unstyledTableHtml(table, clip, layer);
        QString columns, header;
        int width = 0;
        for (const Column &column : table.columns) {
            const int px = int(std::round(column.width * m_size));
            width += px;
            columns += QStringLiteral("<col style=\"width:%1px\">").arg(px);
            header += QStringLiteral("<th style=\"padding-left:%1px;padding-right:%1px\">%2</th>").arg(table.paddingX).arg(block({{column.header}}, TextRole::text, true, m_theme.header, m_theme.text, RowKind::tableRow, clip, layer));
        }
        QString rows;
        for (const auto &row : table.rows) {
            rows += QStringLiteral("<tr>");
            for (qsizetype c = 0; c < row.size(); ++c) {
                const bool right = c < table.columns.size() && table.columns[c].right;
                rows += QStringLiteral("<td style=\"padding-left:%1px;padding-right:%1px%2\">%3</td>")
                            .arg(table.paddingX)
                            .arg(right ? QStringLiteral(";text-align:right") : QString(),
                                 block(row[c], TextRole::text, false, m_theme.page, m_theme.text, RowKind::tableRow, clip, layer));
            }
            rows += QStringLiteral("</tr>");
        }
        return QStringLiteral("<table class=\"%1\" style=\"width:%2px\"><colgroup>%3</colgroup><tr class=\"header\">%4</tr>%5</table>")
            .arg(table.rules ? QStringLiteral("rules") : QStringLiteral("plain")).arg(width).arg(columns, header, rows);
    }

    QString unstyledTableHtml(const Table &table, const QRect &clip, int layer)
    {
        QString rows;
        for (const auto &row : table.rows) {
            rows += QStringLiteral("<tr>");
            for (qsizetype c = 0; c < row.size(); ++c) {
                const double width = c < table.columns.size() ? table.columns[c].width : 0;
                rows += QStringLiteral("<td style=\"padding:1px;word-break:break-all;overflow-wrap:normal%1\">%2</td>")
                            .arg(width > 0 ? QStringLiteral(";width:%1px").arg(int(std::round(width * m_size))) : QString(),
                                 block(row[c], TextRole::text, false, m_theme.page, m_theme.text, RowKind::tableRow, clip, layer));
            }
            rows += QStringLiteral("</tr>");
        }
        return QStringLiteral("<table style=\"border-collapse:separate;border-spacing:2px;table-layout:auto\">%1</table>").arg(rows);
    }

    QString page(const LayoutScreen &layout, const QString &body) const
    {
        using namespace layout_metrics;
        return QStringLiteral(
                   "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><style>"
                   "body{margin:0;background:%1;width:%2px;height:%3px;overflow:hidden;font:%4px '%5';color:%6}"
                   ".pane{position:absolute;box-sizing:border-box;overflow:hidden}"
                   ".title{height:%7px;line-height:%7px;padding:0 10px;background:%8;color:%9;font-weight:bold;white-space:pre;overflow:hidden}"
                   ".content{padding:%10px}"
                   ".wrap,td,th{white-space:pre-wrap;overflow-wrap:anywhere;line-height:%11}.line{white-space:pre;line-height:%11}"
                   ".selected{background:%12;margin-left:-6px;margin-right:-6px;padding:0 6px}"
                   "table{border-collapse:collapse;table-layout:fixed;margin-top:%13px}"
                   "td,th{padding:%14px %15px;vertical-align:top;text-align:left;font-size:%4px;color:%6;background:%16}"
                   "th{background:%17}table.rules td,table.rules th{border:1px solid %18}#boxes{display:none}"
                   "</style></head><body>%19<pre id=\"boxes\"></pre><script>"
                   "document.getElementById('boxes').textContent=JSON.stringify([...document.querySelectorAll('.T')].map(e=>{"
                   "const boxes=[];const walk=document.createTreeWalker(e,NodeFilter.SHOW_TEXT);let node;"
                   "while((node=walk.nextNode())){for(let i=0;i<node.length;i++){const range=document.createRange();"
                   "range.setStart(node,i);range.setEnd(node,i+1);const r=[...range.getClientRects()].find(b=>b.width>0);"
                   "boxes.push(r?[r.left,r.top,r.width,r.height]:[0,0,0,0]);}}return boxes;}));"
                   "</script></body></html>")
            .arg(m_theme.desktop.name()).arg(layout.size.width()).arg(layout.size.height()).arg(m_size).arg(m_typeface.sans, m_theme.text.name())
            .arg(kTitleBar).arg(m_theme.titleBar.name(), m_theme.titleText.name()).arg(kPadding).arg(kLineHeight).arg(m_theme.highlight.name())
            .arg(kItemGap).arg(kCellPaddingY).arg(kCellPaddingX).arg(m_theme.page.name(), m_theme.header.name(), m_theme.border.name(), body);
    }

    Typeface m_typeface;
    LayoutTheme m_theme;
    int m_size;
    int m_scale;
    QList<PlacedText> m_texts;
};

} // namespace bench
