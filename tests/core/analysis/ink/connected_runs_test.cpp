#include "core/analysis/ink/connected_runs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmora;

namespace {

struct PiecesRow
{
    const char *name;
    std::vector<std::string> mask; ///< '#' marks a pixel
    PixelConnectivity connectivity;
    /// Each row's runs, left to right: the piece it belongs to, as a digit.
    std::vector<std::string> pieces;
};

class ConnectedRunsTest : public ::testing::TestWithParam<PiecesRow>
{
};

TEST_P(ConnectedRunsTest, LabelsEachRunWithItsPiece)
{
    const PiecesRow &row = GetParam();
    const int width = int(row.mask.front().size());
    const int height = int(row.mask.size());
    std::vector<std::uint8_t> mask;
    for (const std::string &line : row.mask) {
        for (const char pixel : line)
            mask.push_back(pixel == '#');
    }
    const ConnectedRuns runs(mask, width, height, row.connectivity);

    std::vector<std::string> pieces(row.mask.size());
    int highest = -1;
    for (const PixelRun &run : runs.runs) {
        EXPECT_EQ(row.mask[std::size_t(run.y)].substr(std::size_t(run.left), std::size_t(run.right - run.left + 1)),
                  std::string(std::size_t(run.right - run.left + 1), '#'));
        pieces[std::size_t(run.y)] += char('0' + run.piece);
        highest = std::max(highest, run.piece);
    }
    EXPECT_EQ(pieces, row.pieces);
    EXPECT_EQ(runs.pieceCount, highest + 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, ConnectedRunsTest, ::testing::Values(
    PiecesRow{"empty", {"....", "...."}, PixelConnectivity::sides, {"", ""}},
    PiecesRow{"runsApartInARow", {"##.#.##"}, PixelConnectivity::sides, {"012"}},
    PiecesRow{"cornersJoinOnlyWithCorners", {"#...", ".#..", "...#"}, PixelConnectivity::sidesAndCorners, {"0", "0", "1"}},
    PiecesRow{"cornersApartWithSidesOnly", {"#...", ".#..", "..#."}, PixelConnectivity::sides, {"0", "1", "2"}},
    PiecesRow{"shapeJoinedBelowIsOnePiece", {"#.#.#", "#.#.#", "###.#"}, PixelConnectivity::sides, {"001", "001", "01"}},
    PiecesRow{"piecesNumberedByTheirFirstRun", {"..#", "#.#", "#.."}, PixelConnectivity::sides, {"0", "10", "1"}},
    PiecesRow{"touchingTheRightEdge", {"..##", "##..", "...#"}, PixelConnectivity::sidesAndCorners, {"0", "0", "1"}}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
