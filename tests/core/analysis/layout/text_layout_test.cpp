#include "core/analysis/layout/text_layout.h"

#include "support/image_fixtures.h"
#include "support/row_name.h"

#include <QFontMetricsF>
#include <QPainter>

#include <functional>

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
    QFont font = installedFont(family);
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

// The engines take the regions holding the most text first, so that no long line is
// left to one of them at the end.
TEST(TextLayoutTest, RegionsHoldingTheMostTextComeFirst)
{
    QImage image = blankPage(900, 160);
    write(image, QStringLiteral("Short"), QPointF(20, 30));
    write(image, QStringLiteral("A much longer line of text than the others"), QPointF(20, 80));
    write(image, QStringLiteral("A middle line"), QPointF(20, 130));
    const TextLayout layout(InkMap{image});
    ASSERT_EQ(layout.regions().size(), 3);
    EXPECT_EQ(layout.regionsLongestFirst(), (QList<qsizetype>{1, 2, 0}));
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
    QFont font = installedFont(QStringLiteral("DejaVu Sans"));
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

namespace {

struct ColumnRow
{
    const char *name;
    std::function<QImage()> draw;
    qsizetype regions;
    int boundary;   ///< No region may reach across this column (-1: none).
    CutEdge endedBy; ///< What ends the column of the first region.
};

class ColumnCutTest : public ::testing::TestWithParam<ColumnRow> {};

// Lines are parted where the screen says a column ends, and only there; each knows what
// ends its column.
TEST_P(ColumnCutTest, PartsLinesWhereColumnsEnd)
{
    const ColumnRow &row = GetParam();
    const TextLayout layout(InkMap{row.draw()});
    ASSERT_EQ(layout.regions().size(), row.regions);
    EXPECT_EQ(layout.regions().front().columnEnd.by, row.endedBy);
    for (const TextRegion &region : layout.regions()) {
        EXPECT_FALSE(region.box.left() < row.boundary && region.box.right() >= row.boundary)
            << region.box.left() << ".." << region.box.right();
    }
}

QFont cantarell13()
{
    QFont font = installedFont(QStringLiteral("Cantarell"));
    font.setPixelSize(13);
    return font;
}

// Rows of two cells, the second starting at x = 132, on a white page: a gap of
// about two and a half characters.
QImage cellRows(int rows, bool rule)
{
    QImage image = blankPage(400, 30 + 30 * rows);
    QPainter painter(&image);
    painter.setFont(cantarell13());
    painter.setPen(QColor(0x1f2328));
    for (int r = 0; r < rows; ++r) {
        painter.drawText(QPointF(20, 30 + 30 * r), QStringLiteral("(923) 465-9125"));
        painter.drawText(QPointF(132, 30 + 30 * r), QStringLiteral("4994 3531 2474"));
    }
    if (rule) {
        painter.setPen(QColor(0xd0d7de));
        painter.drawLine(124, 10, 124, 30 + 30 * rows);
    }
    return image;
}

// A dark window whose left edge stands at x = 300 over lines of a white page.
QImage windowOverPage()
{
    QImage image = blankPage(640, 160);
    QPainter painter(&image);
    painter.setFont(cantarell13());
    painter.setPen(QColor(0x1f2328));
    for (int r = 0; r < 3; ++r)
        painter.drawText(QPointF(20, 40 + 40 * r), QStringLiteral("Teams can now share saved searches with every member of the workspace"));
    painter.fillRect(QRect(300, 10, 330, 150), QColor(0x1e1e1e));
    painter.setPen(QColor(0xd4d4d4));
    for (int r = 0; r < 3; ++r)
        painter.drawText(QPointF(306, 40 + 40 * r), QStringLiteral("STRIPE_SECRET_KEY=sk_live_51Hq"));
    return image;
}

// A key part of which is highlighted, as a search or a selection marks it.
QImage highlightInsideAWord()
{
    QImage image = blankPage(400, 60);
    QPainter painter(&image);
    painter.setFont(cantarell13());
    const QFontMetricsF metrics(painter.font());
    const QString key = QStringLiteral("sk_live_51Hq2xKLm9PvR4tZ8");
    const double from = 20 + metrics.horizontalAdvance(key.left(8));
    painter.fillRect(QRectF(from, 30 - metrics.ascent() - 1, metrics.horizontalAdvance(key.mid(8, 6)), metrics.height() + 2),
                     QColor(0xfff3a0));
    painter.setPen(QColor(0x1f2328));
    painter.drawText(QPointF(20, 30), key);
    return image;
}

INSTANTIATE_TEST_SUITE_P(Rows, ColumnCutTest, ::testing::Values(
    // A rule between the cells of a row parts them, however narrow the gap.
    ColumnRow{"ruleBetweenCells", [] { return cellRows(1, true); }, 2, 124, CutEdge::rule},
    // The text behind a window runs up to its edge; the window's own text starts beside it.
    ColumnRow{"groundEdgeOfAWindow", windowOverPage, 6, 300, CutEdge::groundEdge},
    // Gaps that line up down the rows of a table without rules part its columns.
    ColumnRow{"gapsLiningUpDownRows", [] { return cellRows(4, false); }, 8, 120, CutEdge::columnGap},
    // The same gap on a single row is a gap between words.
    ColumnRow{"gapOnASingleRow", [] { return cellRows(1, false); }, 1, -1, CutEdge::imageEdge},
    // A highlight inside a word changes the ground for one line only: the word stays whole.
    ColumnRow{"highlightInsideAWord", highlightInsideAWord, 1, -1, CutEdge::imageEdge}),
    test::rowName);

// The lines of one column of a table know where it ends: at the rule beside them.
TEST(TextLayoutTest, LinesOfAColumnShareWhereItEnds)
{
    const TextLayout layout(InkMap{cellRows(3, true)});
    ASSERT_EQ(layout.regions().size(), 6);
    for (qsizetype k = 0; k < 6; k += 2)
        EXPECT_EQ(layout.regions()[k].columnEnd, (ColumnEnd{124, CutEdge::rule})) << k;
}

} // namespace
