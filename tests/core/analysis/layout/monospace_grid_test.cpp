#include "core/analysis/layout/monospace_grid.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct GridRow
{
    const char *name;
    QList<double> centres;
    double lineHeight;
    std::optional<double> pitch; ///< Nothing when there is no grid.
};

// Cells of 7.8 px from x = 103, with one cell left empty (a space) and glyph centres
// off by up to a pixel, as hinting leaves them.
QList<double> monospaceCentres()
{
    QList<double> centres;
    const double jitter[] = {0.4, -0.6, 0.9, 0.0, -0.3, 0.7, -0.8, 0.2, 0.5, -0.1, 0.3, -0.5};
    for (int cell = 0; cell < 13; ++cell) {
        if (cell != 6)
            centres.append(103 + cell * 7.8 + jitter[cell % 12]);
    }
    return centres;
}

class MonospaceGridTest : public ::testing::TestWithParam<GridRow> {};

TEST_P(MonospaceGridTest, FindsTheCellsOfMonospaceTextOnly)
{
    const GridRow &row = GetParam();
    const auto grid = findMonospaceGrid(row.centres, row.lineHeight);
    ASSERT_EQ(grid.has_value(), row.pitch.has_value());
    if (!grid)
        return;
    EXPECT_NEAR(grid->pitch, *row.pitch, 0.1);
    // Every centre lies in its own cell, and the empty cell stays empty.
    QList<int> cells;
    for (const double c : row.centres)
        cells.append(grid->cellAt(c));
    for (qsizetype i = 1; i < cells.size(); ++i)
        EXPECT_GT(cells[i], cells[i - 1]);
    EXPECT_EQ(cells.last() - cells.first() + 1, row.centres.size() + 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, MonospaceGridTest, ::testing::Values(
    GridRow{"monospace", monospaceCentres(), 15, 7.8},
    // Capitals and digits alone, in a typeface whose capitals are as tall as a cell is
    // wide (DB_HOST=102.49.32.117, the underscore's cell empty).
    GridRow{"capitalsOnly", {10, 21, 43, 54.5, 65.5, 76, 87, 98, 109, 119.5, 131, 142, 153.5, 164, 175.5, 185.5, 197, 208, 219, 230}, 11, 11},
    // Digits of a proportional typeface, all as wide, apart at spaces narrower than them,
    // and some touching.
    GridRow{"proportionalDigits", {375, 380.5, 390, 397, 404.5, 413.5, 421, 428, 437.5, 444.5, 453}, 9, std::nullopt},
    GridRow{"touchingDigits", {442.5, 451, 468, 480, 492, 504, 519, 533}, 12, std::nullopt},
    // Proportional text: glyph widths vary from 3 to 11 px.
    GridRow{"proportional", {10, 16.5, 21, 29.5, 37, 41, 47.5, 57, 63, 66.5, 74, 84, 90.5}, 15, std::nullopt},
    GridRow{"tooFewGlyphs", {10, 17.8, 25.6, 33.4, 41.2}, 15, std::nullopt},
    GridRow{"noLine", monospaceCentres(), 0, std::nullopt}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
