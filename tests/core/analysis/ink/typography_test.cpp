#include "core/analysis/ink/typography.h"

#include "core/analysis/layout/text_layout.h"
#include "support/image_fixtures.h"
#include "support/row_name.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;

namespace {

const QString pangram = QStringLiteral("The quick brown fox jumps over the lazy dog 42");

struct TypographyRow
{
    const char *name;
    QString family;
    int pixelSize;
};

class PageTypographyTest : public ::testing::TestWithParam<TypographyRow> {};

// The layout measures a page's character as its commonest piece of ink, a small letter:
// every length of the layout and the wraps counts in it.
TEST_P(PageTypographyTest, ACharacterIsAsTallAsASmallLetter)
{
    QFont font = installedFont(GetParam().family);
    font.setPixelSize(GetParam().pixelSize);
    const TextCanvas canvas = renderLines({{TextPiece{pangram}}}, font.family(), font.pixelSize(), Qt::black, Qt::white);
    const PageTypography typography = TextLayout(InkMap(canvas.image)).typography();
    EXPECT_NEAR(typography.glyphHeight(), QFontMetrics(font).xHeight(), 1);
    EXPECT_EQ(typography.lineHeight(), 2 * typography.glyphHeight());
    EXPECT_DOUBLE_EQ(typography.characters(1.5), 1.5 * typography.glyphHeight());
    EXPECT_LT(typography.edgeSpread(), typography.sideBearings());
}

INSTANTIATE_TEST_SUITE_P(Rows, PageTypographyTest, ::testing::Values(
    TypographyRow{"sans11", QStringLiteral("DejaVu Sans"), 11},
    TypographyRow{"sans20", QStringLiteral("DejaVu Sans"), 20},
    TypographyRow{"mono14", QStringLiteral("DejaVu Sans Mono"), 14},
    TypographyRow{"mono28", QStringLiteral("DejaVu Sans Mono"), 28}), velmora::test::rowName);

TEST(PageTypographyTest, APageWithoutTextHasTheLeastLegibleCharacter)
{
    QImage blank(300, 100, QImage::Format_RGB32);
    blank.fill(Qt::white);
    EXPECT_EQ(TextLayout(InkMap(blank)).typography().glyphHeight(), 6);
}

// The contrast that strong strokes reach: full for black text, the text's own for grey
// text (which the reading of a region stretches to black), none without ink.
TEST(StrongStrokeContrastTest, IsTheContrastMostStrokesReach)
{
    const TextCanvas black = renderLines({{TextPiece{pangram}}}, QStringLiteral("DejaVu Sans"), 16, Qt::black, Qt::white);
    const TextCanvas grey = renderLines({{TextPiece{pangram}}}, QStringLiteral("DejaVu Sans"), 16, QColor(150, 150, 150), Qt::white);
    EXPECT_EQ(strongStrokeContrast(InkMap(black.image), black.lines[0].box), 255);
    const int greyStroke = strongStrokeContrast(InkMap(grey.image), grey.lines[0].box);
    EXPECT_GE(greyStroke, InkMap::inkThreshold);
    EXPECT_LT(greyStroke, 160);
    EXPECT_EQ(strongStrokeContrast(InkMap(black.image), QRect(0, 0, 3, 3)), 255);
}

} // namespace
