#include "core/analysis/ink/ink_map.h"

#include "core/analysis/recognition/region_reader.h"
#include "core/analysis/layout/text_layout.h"
#include "support/image_fixtures.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// A light page holding dark text and a dark panel holding light text.
QImage pageWithPanel()
{
    QImage image(400, 160, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font = velmora::testing::installedFont(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(16);
    painter.setFont(font);
    painter.setPen(QColor(0x1f2328));
    painter.drawText(QPointF(20, 40), QStringLiteral("Page text"));
    painter.fillRect(QRect(10, 70, 380, 60), QColor(0x0d1117));
    painter.setPen(QColor(0xe6edf3));
    painter.drawText(QPointF(20, 108), QStringLiteral("Panel text"));
    return image;
}

int strongest(const InkMap &ink, const QRect &area)
{
    int best = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            best = std::max(best, ink.contrastAt(x, y));
    }
    return best;
}

TEST(InkMapTest, TextStandsOutInBothPolarities)
{
    const InkMap ink(pageWithPanel());
    EXPECT_GT(strongest(ink, QRect(20, 25, 80, 20)), 200);  // dark on light
    EXPECT_GT(strongest(ink, QRect(20, 92, 80, 20)), 200);  // light on dark
    EXPECT_EQ(strongest(ink, QRect(200, 10, 150, 40)), 0);  // the page
    EXPECT_EQ(strongest(ink, QRect(200, 80, 150, 40)), 0);  // the panel
}

// The ground changes where the dark panel meets the page, down its sides, and nowhere
// inside either.
TEST(InkMapTest, GroundChangesAtAPanelsSides)
{
    const InkMap ink(pageWithPanel());
    for (int y = 75; y < 125; ++y) {
        EXPECT_TRUE(ink.groundChangesAt(10, y)) << y;
        EXPECT_TRUE(ink.groundChangesAt(390, y)) << y;
        for (int x = 11; x < 390; ++x)
            ASSERT_FALSE(ink.groundChangesAt(x, y)) << x << "," << y;
    }
    for (int x = 1; x < 400; ++x)
        ASSERT_FALSE(ink.groundChangesAt(x, 40)) << x; // the page, across its text
}

TEST(RegionReaderTest, PreparesEveryRegionAsDarkInkOnLight)
{
    const InkMap ink(pageWithPanel());
    const TextLayout layout(ink);
    ASSERT_EQ(layout.regions().size(), 2);
    const RegionReader reader(ink, layout);
    for (const TextRegion &region : layout.regions()) {
        const RegionReader::Prepared prepared = reader.prepare(region);
        EXPECT_EQ(prepared.grey.height(), 36); // the network's input height
        int darkest = 255;
        qint64 sum = 0;
        for (int y = 0; y < prepared.grey.height(); ++y) {
            for (int x = 0; x < prepared.grey.width(); ++x) {
                darkest = std::min<int>(darkest, prepared.grey.constScanLine(y)[x]);
                sum += prepared.grey.constScanLine(y)[x];
            }
        }
        EXPECT_LT(darkest, 40);
        EXPECT_GT(sum / (qint64(prepared.grey.width()) * prepared.grey.height()), 180);
        // The region's top left maps back onto the page.
        EXPECT_LT(prepared.origin.x(), region.box.left());
        EXPECT_LT(prepared.origin.y(), region.box.top());
    }
}

} // namespace
