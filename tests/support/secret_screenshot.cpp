#include "support/secret_screenshot.h"

#include "support/image_fixtures.h"

#include <QFont>
#include <QPainter>

namespace velmora::test {

QImage screenshotWithSecret()
{
    QImage screenshot(900, 200, QImage::Format_RGB32);
    screenshot.fill(QColor(0xf4, 0xf5, 0xf7));
    QPainter painter(&screenshot);
    QFont font = testing::installedFont(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(18);
    painter.setFont(font);
    painter.setPen(QColor(0x1d, 0x1f, 0x23));
    painter.drawText(30, 100, QStringLiteral("Send the invoice to billing.team@example.org by Friday"));
    return screenshot;
}

} // namespace velmora::test
