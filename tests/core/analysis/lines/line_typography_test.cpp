#include "core/analysis/lines/line_typography.h"

#include "core/analysis/layout/text_layout.h"
#include "support/image_fixtures.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;

namespace {

// A line's passes count in the height of its text, its word gaps in its letter spacing:
// specks of a frame that its band also holds, above and below the line, make it no taller.
TEST(LineTypographyTest, HeightIsTheTextsNotTheSpecksInItsBand)
{
    TextCanvas canvas = renderLines({{TextPiece{QStringLiteral("Customer since 2019, plan Pro")}}}, QStringLiteral("DejaVu Sans"), 16,
                                    Qt::black, Qt::white, QSize(600, 80));
    const InkMap clean(canvas.image);
    const QRect text = TextLayout(clean).regions().value(0).box;
    const LineTypography alone = LineTypography::of(LineInk(clean, text));
    EXPECT_EQ(alone.height, text.height());
    EXPECT_LE(alone.engineWordGap, alone.heights(line_reading::letterSpacingLimit));

    const QRect band = text.adjusted(0, -6, 30, 6);
    QPainter painter(&canvas.image);
    painter.fillRect(QRect(text.right() + 10, band.top(), 2, 2), Qt::black);
    painter.fillRect(QRect(text.right() + 20, band.bottom() - 1, 2, 2), Qt::black);
    painter.end();
    EXPECT_EQ(LineTypography::of(LineInk(InkMap(canvas.image), band)).height, alone.height);
}

} // namespace
