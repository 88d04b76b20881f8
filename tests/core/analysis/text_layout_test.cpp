#include "core/analysis/text_layout.h"

#include "support/image_fixtures.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;

namespace {

QImage blankPage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void write(QImage &image, const QString &text, QPointF at, const QString &family = QStringLiteral("DejaVu Sans"))
{
    QPainter painter(&image);
    QFont font(family);
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(at, text);
}

TEST(TextLayoutTest, CutsColumnsOnlyAtWideGaps)
{
    QImage image = blankPage(900, 120);
    write(image, QStringLiteral("Left column line"), QPointF(20, 30));
    write(image, QStringLiteral("Right column line"), QPointF(500, 30));
    write(image, QStringLiteral("One line with  two spaces"), QPointF(20, 80));
    const TextLayout layout(InkMap{image});
    ASSERT_EQ(layout.regions().size(), 3);
    EXPECT_LT(layout.regions()[0].box.right(), 300);
    EXPECT_GT(layout.regions()[1].box.left(), 490);
    EXPECT_GT(layout.regions()[2].box.width(), 150);
    for (const TextRegion &region : layout.regions())
        EXPECT_TRUE(region.singleLine);
}

TEST(TextLayoutTest, UnderscoreBelowALineWithoutDescendersStaysWithIt)
{
    QImage image = blankPage(400, 60);
    write(image, QStringLiteral("SLACK_BOT_TOKEN=x"), QPointF(20, 30), QStringLiteral("DejaVu Sans Mono"));
    const TextLayout layout(InkMap{image});
    ASSERT_EQ(layout.regions().size(), 1);
    // The box reaches down to the underscores, below the baseline.
    EXPECT_GT(layout.regions()[0].box.bottom(), 30);
}

TEST(TextLayoutTest, LinesThatTouchArePartedWithReachAcrossTheCut)
{
    QImage image = blankPage(700, 80);
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(20, 30), QStringLiteral("Joyful quips jog past the gray fence quickly"));
    painter.drawText(QPointF(20, 45), QStringLiteral("Typography gets tight: glyphs nearly touch here"));
    painter.end();
    const TextLayout layout(InkMap{image});
    ASSERT_EQ(layout.regions().size(), 2);
    for (const TextRegion &region : layout.regions()) {
        EXPECT_TRUE(region.singleLine);
        EXPECT_GT(region.bleed, 0);
    }
    EXPECT_LE(layout.regions()[0].box.bottom(), layout.regions()[1].box.top());
}

TEST(TextLayoutTest, FieldBordersAreSetAside)
{
    QImage image = blankPage(400, 80);
    write(image, QStringLiteral("api-key-value"), QPointF(30, 45));
    QPainter painter(&image);
    painter.setPen(QColor(0x8c959f));
    painter.drawRect(QRect(20, 20, 300, 36));
    painter.end();
    const TextLayout layout(InkMap{image});
    ASSERT_EQ(layout.regions().size(), 1);
    EXPECT_GT(layout.regions()[0].box.left(), 25); // the border's left edge is not part of the line
    EXPECT_TRUE(layout.isSetAside(20, 38));
    EXPECT_FALSE(layout.isSetAside(layout.regions()[0].box.center().x(), layout.regions()[0].box.center().y()));
}

} // namespace

// Short words of heavy glyphs at small sizes cover much of their box with ink and
// antialiased edges; they are still text.
TEST(TextLayoutTest, ShortDenseWordsAtSmallSizesAreText)
{
    const TextCanvas canvas = renderLines({{TextPiece{QStringLiteral("938.541.3789"), false}}, {TextPiece{QStringLiteral("Phone"), false}}},
                                          QStringLiteral("Cantarell"), 12, QColor(0x93a1a1), QColor(0x002b36), QSize(300, 0));
    const TextLayout layout(InkMap{canvas.image});
    ASSERT_EQ(layout.regions().size(), 2);
    for (qsizetype k = 0; k < 2; ++k)
        EXPECT_TRUE(layout.regions()[k].box.intersects(canvas.lines[k].box)) << k;
}

// A filled bar is no line of text.
TEST(TextLayoutTest, FilledBarIsNoText)
{
    QImage image = blankPage(400, 60);
    QPainter painter(&image);
    painter.fillRect(QRect(20, 20, 200, 9), QColor(0x2b5278));
    painter.end();
    EXPECT_TRUE(TextLayout(InkMap{image}).regions().isEmpty());
}
