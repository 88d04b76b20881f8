#include "app/help/velmora_sample_image.h"

#include "app/kit/look.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace velmora::VelmoraSampleImage {

namespace {

constexpr qreal kTextX = 96;
constexpr QRectF kCard{56, 64, 1008, 592};
constexpr qreal kCardRadius = 18;

QFont pixelFont(const char *family, int pixelSize, QFont::Weight weight)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setStyleHint(QFont::AnyStyle, QFont::PreferAntialias);
    return font;
}

} // namespace

QList<Line> lines()
{
    return {
        {QStringLiteral("Velmora sample screenshot"), 102},
        {QStringLiteral("Review the highlighted data before sharing this screenshot."), 154},
        {QStringLiteral("$ curl https://api.velmora-sample.test/v1/users"), 242},
        {QStringLiteral("aws_secret = ") + accessKey, 304},
        {QString(emailAddress), 366},
        {QStringLiteral("account_id = ") + accountIdentifier, 428},
    };
}

QImage render(const QPalette &palette)
{
    QImage image(size, QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    image.fill(palette.color(QPalette::Window));
    QPainter painter;
    if (!painter.begin(&image))
        return {};
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QPainterPath card;
    card.addRoundedRect(kCard, kCardRadius, kCardRadius);
    painter.fillPath(card, palette.color(QPalette::Base));

    const QFont title = pixelFont("DejaVu Sans", 38, QFont::Bold);
    const QFont subtitle = pixelFont("DejaVu Sans", 22, QFont::Normal);
    const QFont body = pixelFont("DejaVu Sans Mono", 30, QFont::Normal);
    const QColor label = palette.color(QPalette::Text);
    const QColor secondaryLabel = look::secondary(palette);

    const QList<Line> all = lines();
    for (qsizetype i = 0; i < all.size(); ++i) {
        const QFont &font = i == 0 ? title : i == 1 ? subtitle : body;
        painter.setFont(font);
        painter.setPen(i == 1 ? secondaryLabel : label);
        // The top of the line's text box lies at its y.
        painter.drawText(QPointF(kTextX, all[i].top + QFontMetricsF(font).ascent()), all[i].text);
    }
    painter.end();
    return image;
}

} // namespace velmora::VelmoraSampleImage
