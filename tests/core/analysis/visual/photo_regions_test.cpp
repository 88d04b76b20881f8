#include "core/analysis/visual/photo_regions.h"

#include "support/image_fixtures.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>

using namespace velmora;

namespace {

QImage grey(const QImage &image)
{
    return image.convertToFormat(QImage::Format_Grayscale8);
}

QImage textPage()
{
    QImage page(1280, 720, QImage::Format_RGB32);
    page.fill(QColor(252, 252, 250));
    QPainter painter(&page);
    QFont font = velmora::testing::installedFont(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    painter.setFont(font);
    painter.setPen(QColor(40, 40, 44));
    for (int line = 0; line < 36; ++line)
        painter.drawText(20, 24 + line * 19, QStringLiteral("%1  Reply from jane.doe@example.com: the token was rotated, see ticket #%2")
                                                 .arg(line).arg(4000 + line * 7));
    return page;
}

TEST(PhotoRegionsTest, TextAndFlatColourHoldNone)
{
    QImage page = textPage();
    {
        QPainter painter(&page);
        painter.fillRect(900, 40, 300, 200, QColor(60, 120, 200));
        painter.fillRect(900, 300, 300, 40, QColor(230, 60, 60));
        painter.drawRoundedRect(QRectF(920, 400, 200, 60), 12, 12);
    }
    EXPECT_TRUE(photoRegions(grey(page)).isEmpty());
}

TEST(PhotoRegionsTest, APhotographIsOneRegionWithItsMargin)
{
    const QImage photo(QStringLiteral("/usr/share/doc/opencv-doc/examples/data/messi5.jpg"));
    ASSERT_FALSE(photo.isNull());
    QImage page = textPage();
    {
        QPainter painter(&page);
        painter.drawImage(QPoint(600, 200), photo);
    }
    const QRect placed(QPoint(600, 200), photo.size());

    const auto regions = photoRegions(grey(page));

    ASSERT_EQ(regions.size(), 1);
    EXPECT_TRUE(regions[0].contains(placed));
    EXPECT_TRUE(page.rect().contains(regions[0]));
    // The margin, not the whole page: most of the text stays outside.
    EXPECT_LT(regions[0].width() * regions[0].height(), page.width() * page.height() / 2);
}

void paintGradient(QImage &page, const QRect &area)
{
    QPainter painter(&page);
    QLinearGradient gradient(area.topLeft(), area.bottomRight());
    gradient.setColorAt(0, QColor(20, 30, 40));
    gradient.setColorAt(1, QColor(220, 200, 180));
    painter.fillRect(area, gradient);
}

TEST(PhotoRegionsTest, RegionsWhoseMarginsMeetBecomeOne)
{
    QImage page(800, 600, QImage::Format_RGB32);
    page.fill(Qt::white);
    const QRect near(96, 96, 128, 96);
    const QRect nearer(256, 112, 128, 96);
    const QRect far(560, 400, 128, 96);
    for (const QRect &area : {near, nearer, far})
        paintGradient(page, area);

    const auto regions = photoRegions(grey(page));

    ASSERT_EQ(regions.size(), 2);
    const qsizetype joined = regions[0].contains(near) ? 0 : 1;
    EXPECT_TRUE(regions[joined].contains(near) && regions[joined].contains(nearer));
    EXPECT_TRUE(regions[1 - joined].contains(far));
    EXPECT_FALSE(regions[0].intersects(regions[1]));
}

} // namespace
