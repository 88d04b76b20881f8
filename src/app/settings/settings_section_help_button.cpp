#include "app/settings/settings_section_help_button.h"

#include "app/kit/look.h"
#include "app/kit/symbol_icon.h"

#include <QFontInfo>
#include <QPainter>

namespace velmora {

namespace {

constexpr int edge = 28;

} // namespace

SettingsSectionHelpButton::SettingsSectionHelpButton(const QString &title, const QString &help, QWidget *parent)
    : QAbstractButton(parent)
{
    setObjectName(identifier(title));
    setToolTip(help);
    setAccessibleName(tr("%1 help").arg(title));
    setAccessibleDescription(help);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(edge, edge);
}

QString SettingsSectionHelpButton::identifier(const QString &title)
{
    return QStringLiteral("settings-help-") + title.toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
}

QSize SettingsSectionHelpButton::sizeHint() const
{
    return {edge, edge};
}

void SettingsSectionHelpButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(look::withOpacity(palette().color(QPalette::Base), 0.65));
    painter.drawEllipse(rect());
    const int symbolEdge = QFontInfo(look::font(look::TextStyle::body, QFont::DemiBold)).pixelSize();
    QColor color = look::secondary(palette());
    if (isDown())
        color = look::primary(palette());
    const QPixmap symbol = SymbolIcon::pixmap(QStringLiteral("questionmark.circle"), symbolEdge, color,
                                              devicePixelRatioF());
    const QPoint origin((width() - symbolEdge) / 2, (height() - symbolEdge) / 2);
    painter.drawPixmap(origin, symbol);
}

} // namespace velmora
