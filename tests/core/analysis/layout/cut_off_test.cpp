#include "core/analysis/layout/cut_off.h"

#include "support/row_name.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct CutRow
{
    const char *name;
    QRect span; ///< The line's strong ink; its characters' boxes span the same pixels.
    TextCut onInk;
    TextCut onBoxes;
};

class ColumnEndCutTest : public ::testing::TestWithParam<CutRow> {};

// A line's strong ink is cut off where it reaches the page's edge or its column's end;
// the boxes of its characters, a pixel or two past their glyphs, a little short of them.
TEST_P(ColumnEndCutTest, CutsInkAtTheEdgesAndBoxesWithinAMargin)
{
    const ColumnEnd end{100, CutEdge::rule};
    EXPECT_EQ(end.cutOfInk(GetParam().span), GetParam().onInk);
    EXPECT_EQ(end.cutOfBoxes(QRectF(GetParam().span)), GetParam().onBoxes);
}

INSTANTIATE_TEST_SUITE_P(Rows, ColumnEndCutTest, ::testing::Values(
    CutRow{"reachingTheColumnEnd", QRect(10, 0, 90, 10), {CutEdge::none, CutEdge::rule}, {CutEdge::none, CutEdge::rule}},
    CutRow{"aPixelShortOfIt", QRect(10, 0, 89, 10), {}, {CutEdge::none, CutEdge::rule}},
    CutRow{"twoPixelsShortOfIt", QRect(10, 0, 88, 10), {}, {}},
    CutRow{"startingAtThePageEdge", QRect(0, 0, 50, 10), {CutEdge::imageEdge}, {CutEdge::imageEdge}},
    CutRow{"aPixelInFromIt", QRect(1, 0, 50, 10), {}, {CutEdge::imageEdge}},
    CutRow{"twoPixelsInFromIt", QRect(2, 0, 50, 10), {}, {}}),
    test::rowName);

struct EdgeRow
{
    const char *name;
    CutEdge end;    ///< What cuts the end of a line ten characters of 0.01 wide.
    double nextAt;  ///< Where the other line on its row starts, the line ending at 0.2.
    double nextTop; ///< Where it starts downward, the line spanning 0.5 to 0.52.
    bool cutting;
};

class CuttingEdgeTest : public ::testing::TestWithParam<EdgeRow> {};

// A line ends at a cutting edge where the image's edge or its alpha cuts it, or where the
// next cell's text starts within two of its characters on its row; not merely at a rule.
TEST_P(CuttingEdgeTest, TellsWhereTextRunsOn)
{
    const EdgeRow &row = GetParam();
    TextObservation line(QStringLiteral("abcdefghij"), NormRect(0.1, 0.5, 0.1, 0.02), 1);
    line.setCut({CutEdge::none, row.end});
    const TextObservation next(QStringLiteral("xy"), NormRect(row.nextAt, row.nextTop, 0.02, 0.02), 1);
    EXPECT_EQ(endsAtACuttingEdge({line, next}).front(), row.cutting);
}

INSTANTIATE_TEST_SUITE_P(Rows, CuttingEdgeTest, ::testing::Values(
    EdgeRow{"imageEdge", CutEdge::imageEdge, 0.5, 0.5, true},
    EdgeRow{"seeThrough", CutEdge::seeThrough, 0.5, 0.5, true},
    EdgeRow{"ruleAlone", CutEdge::rule, 0.5, 0.5, false},
    EdgeRow{"nextCellWithinTwoCharacters", CutEdge::rule, 0.215, 0.5, true},
    EdgeRow{"nextCellThreeCharactersOn", CutEdge::rule, 0.23, 0.5, false},
    EdgeRow{"nextCellOnAnotherRow", CutEdge::rule, 0.21, 0.53, false}),
    test::rowName);

} // namespace
