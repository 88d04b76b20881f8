#include "app/kit/flow_layout.h"

#include "support/row_name.h"

#include <QWidget>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct FlowRow {
    const char *name;
    int width;
    QList<QPoint> positions; ///< Of four 50 x 20 items with spacing 6.
    int height;
};

class FlowLayoutTest : public ::testing::TestWithParam<FlowRow>
{
};

TEST_P(FlowLayoutTest, WrapsWhereTheNextItemWouldNotFit)
{
    QWidget holder;
    auto *flow = new FlowLayout(6, &holder);
    QList<QWidget *> items;
    for (int i = 0; i < 4; ++i) {
        auto *item = new QWidget;
        item->setFixedSize(50, 20);
        flow->addWidget(item);
        items.append(item);
    }
    EXPECT_EQ(flow->heightForWidth(GetParam().width), GetParam().height);
    flow->setGeometry(QRect(0, 0, GetParam().width, GetParam().height));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(items[i]->pos(), GetParam().positions[i]) << i;
    EXPECT_EQ(flow->minimumSize(), QSize(50, 20));
    EXPECT_EQ(flow->sizeHint(), QSize(4 * 50 + 3 * 6, 20));
}

INSTANTIATE_TEST_SUITE_P(
    Widths, FlowLayoutTest,
    ::testing::Values(FlowRow{"allOnOneLine", 218, {{0, 0}, {56, 0}, {112, 0}, {168, 0}}, 20},
                      FlowRow{"twoPerLine", 150, {{0, 0}, {56, 0}, {0, 26}, {56, 26}}, 46},
                      FlowRow{"onePerLineWhenNarrowerThanTwo", 105, {{0, 0}, {0, 26}, {0, 52}, {0, 78}}, 98}),
    test::rowName);

} // namespace
