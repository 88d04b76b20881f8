#include "core/analysis/lines/line_ink.h"

#include "core/analysis/layout/text_layout.h"
#include "support/image_fixtures.h"
#include "support/row_name.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;

namespace {

const QString mono = QStringLiteral("DejaVu Sans Mono");

// The ink of the only line of an image.
LineInk inkOfLine(const InkMap &ink)
{
    const TextLayout layout(ink);
    EXPECT_EQ(layout.regions().size(), 1);
    return LineInk(ink, layout.regions().value(0).box);
}

TEST(LineInkTest, UnderscoresAreStrokesAtTheBottomOfGaps)
{
    const TextCanvas canvas = renderLines({{TextPiece{QStringLiteral("AWS_KEY_ID")}}}, mono, 14, Qt::black, Qt::white);
    const InkMap ink(canvas.image);
    const LineInk line = inkOfLine(ink);
    ASSERT_EQ(line.underscores().size(), 2);
    // Each underscore lies in a gap: glyphs on either side, none above it.
    for (const ColumnSpan &stroke : line.underscores()) {
        const auto left = std::count_if(line.segments().begin(), line.segments().end(),
                                        [&](const InkSegment &glyph) { return glyph.strong.right < stroke.centre(); });
        EXPECT_GT(left, 0);
        EXPECT_LT(left, line.segments().size());
        for (const InkSegment &glyph : line.segments())
            EXPECT_FALSE(glyph.strong.left <= stroke.centre() && glyph.strong.right >= stroke.centre());
    }
}

struct GlyphBottomRow {
    const char *name;
    QString text;
    QString family;
    int pixelSize;
    QColor ink;
    QColor ground;
};

class GlyphBottomTest : public ::testing::TestWithParam<GlyphBottomRow> {};

// The thin bottom of a "u" whose sides stand apart at small sizes is part of the
// glyph, not an underscore.
TEST_P(GlyphBottomTest, BottomOfAGlyphIsNoUnderscore)
{
    const GlyphBottomRow &row = GetParam();
    const TextCanvas canvas = renderLines({{TextPiece{row.text}}}, row.family, row.pixelSize, row.ink, row.ground, QSize(400, 0));
    const InkMap ink(canvas.image);
    EXPECT_TRUE(inkOfLine(ink).underscores().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, GlyphBottomTest, ::testing::Values(
    GlyphBottomRow{"regionOnDark", QStringLiteral("eu-west-2"), QStringLiteral("DejaVu Sans"), 13, QColor(0xd4d4d4), QColor(0x1e1e1e)},
    GlyphBottomRow{"headingOnDark", QStringLiteral("Customer"), QStringLiteral("DejaVu Sans"), 13, QColor(0xd4d4d4), QColor(0x1e1e1e)},
    GlyphBottomRow{"headingOnSolarized", QStringLiteral("Status"), QStringLiteral("DejaVu Sans"), 15, QColor(0x93a1a1), QColor(0x002b36)}),
    test::rowName);

TEST(LineInkTest, UnderlineIsNoUnderscore)
{
    TextCanvas canvas = renderLines({{TextPiece{QStringLiteral("open the link")}}}, QStringLiteral("DejaVu Sans"), 14,
                                    Qt::blue, Qt::white);
    const QRect box = canvas.lines.first().box;
    QPainter painter(&canvas.image);
    painter.fillRect(QRect(box.left(), box.bottom() - 3, box.width(), 1), Qt::blue);
    painter.end();
    const InkMap ink(canvas.image);
    EXPECT_TRUE(inkOfLine(ink).underscores().isEmpty());
}

TEST(LineInkTest, GlyphsWhoseColumnsMeetStayApart)
{
    // At this size the bowl of D and the foot of A share no column gap.
    const TextCanvas canvas = renderLines({{TextPiece{QStringLiteral("DATABASE")}}}, mono, 14, QColor(0xe6edf3),
                                          QColor(0x0d1117));
    const InkMap ink(canvas.image);
    const LineInk line = inkOfLine(ink);
    // The first glyph alone: its ink ends before the second one's begins plus its width.
    ASSERT_GE(line.segments().size(), 6);
    EXPECT_LT(line.segments()[0].strong.width(), 10);
    EXPECT_GE(line.segments()[1].strong.left, line.segments()[0].strong.right);
    for (const InkSegment &segment : line.segments()) {
        EXPECT_LE(segment.faint.left, segment.strong.left);
        EXPECT_GE(segment.faint.right, segment.strong.right);
        EXPECT_GT(segment.height(), 5);
    }
}

TEST(LineInkTest, DotsAndBarsBelongToTheirGlyph)
{
    const TextCanvas canvas = renderLines({{TextPiece{QStringLiteral("i=j:")}}}, mono, 16, Qt::black, Qt::white);
    const InkMap ink(canvas.image);
    EXPECT_EQ(inkOfLine(ink).segments().size(), 4);
}

} // namespace
