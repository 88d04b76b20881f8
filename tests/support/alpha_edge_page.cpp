#include "support/alpha_edge_page.h"

#include "support/image_fixtures.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

namespace velmora::testing {

AlphaEdgePage alphaEdgePage(int edge, int alpha, OpaqueSide opaque, QColor ink, QColor ground)
{
    const QList<std::pair<QString, QString>> lines{{QStringLiteral("Contact "), QStringLiteral("maria.keller@northwind-mail.com")},
                                                   {QStringLiteral("Phone "), QStringLiteral("(415) 555-0132")},
                                                   {QStringLiteral("Card "), QStringLiteral("4242 4242 4242 4242")},
                                                   {QStringLiteral("Server "), QStringLiteral("203.0.113.77")},
                                                   {QString(), QStringLiteral("acct_7Hq2Lm9Xw4Rt8Vb3")}};
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(22);
    const QFontMetricsF metrics(font);
    AlphaEdgePage page{QImage(1400, 500, QImage::Format_ARGB32), edge, opaque, {}, {}};
    page.image.fill(ground);
    QPainter painter(&page.image);
    painter.setFont(font);
    painter.setPen(ink);
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const QPointF start(30, 60 + 80 * k);
        const QPointF value = start + QPointF(metrics.horizontalAdvance(lines[k].first), 0);
        painter.drawText(start, lines[k].first + lines[k].second);
        page.values.append(lines[k].second);
        page.valueInk.append(textInk(page.image.size(), font, value, lines[k].second));
    }
    painter.end();
    for (int y = 0; y < page.image.height(); ++y) {
        auto *pixels = reinterpret_cast<QRgb *>(page.image.scanLine(y));
        for (int x = 0; x < page.image.width(); ++x) {
            if ((x < edge) != (opaque == OpaqueSide::left))
                pixels[x] = qRgba(qRed(pixels[x]), qGreen(pixels[x]), qBlue(pixels[x]), alpha);
        }
    }
    return page;
}

} // namespace velmora::testing
