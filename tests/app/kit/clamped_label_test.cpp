#include "app/kit/clamped_label.h"

#include "support/row_name.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct ClampRow {
    const char *name;
    const char *text;
    int lines; ///< Shown at a width of 120.
};

class ClampedLabelHeight : public ::testing::TestWithParam<ClampRow>
{
};

// A layout asks a label its height for the width it is about to give it: the answer must
// be the height of the lines the label shows once it has that width.
TEST_P(ClampedLabelHeight, IsTheHeightOfTheLinesShownAtTheWidthAskedFor)
{
    ClampedLabel label(2);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    label.setFont(font);
    label.setFullText(QString::fromUtf8(GetParam().text));
    label.resize(400, 20);
    label.show();
    const int asked = label.heightForWidth(120);
    label.resize(120, asked);
    EXPECT_EQ(asked, label.QLabel::heightForWidth(120)) << qPrintable(label.text());
    EXPECT_EQ(asked, QFontMetrics(font).boundingRect(QRect(0, 0, 120, 1000), Qt::TextWordWrap,
                                                     QStringList(GetParam().lines, QStringLiteral("x")).join('\n'))
                         .height());
}

INSTANTIATE_TEST_SUITE_P(Rows, ClampedLabelHeight, ::testing::Values(
    ClampRow{"oneLine", "Email", 1},
    ClampRow{"twoLines", "High-entropy secret value", 2},
    ClampRow{"cutAfterTwoLines", "A custom term long enough to wrap onto a third line and then some more", 2}),
    test::rowName);

} // namespace
