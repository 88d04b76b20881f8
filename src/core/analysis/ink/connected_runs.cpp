#include "core/analysis/ink/connected_runs.h"

#include "core/analysis/ink/union_find.h"

#include <algorithm>

namespace velmora {

ConnectedRuns::ConnectedRuns(const std::vector<std::uint8_t> &mask, int width, int height, PixelConnectivity connectivity)
{
    std::vector<std::size_t> rowStarts;
    rowStarts.reserve(std::size_t(height) + 1);
    for (int y = 0; y < height; ++y) {
        rowStarts.push_back(runs.size());
        const std::uint8_t *row = mask.data() + std::size_t(y) * width;
        for (int x = 0; x < width;) {
            if (!row[x]) {
                ++x;
                continue;
            }
            const int left = x;
            while (x < width && row[x])
                ++x;
            runs.push_back({y, left, x - 1, 0});
        }
    }
    rowStarts.push_back(runs.size());

    // Runs of neighbouring rows touch where their columns overlap, or, with corners,
    // where they come within a column of each other.
    const int reach = connectivity == PixelConnectivity::sidesAndCorners ? 1 : 0;
    UnionFind pieces(runs.size());
    for (int y = 1; y < height; ++y) {
        std::size_t above = rowStarts[std::size_t(y) - 1];
        const std::size_t aboveEnd = rowStarts[std::size_t(y)];
        for (std::size_t r = aboveEnd; r < rowStarts[std::size_t(y) + 1]; ++r) {
            while (above < aboveEnd && runs[above].right + reach < runs[r].left)
                ++above;
            for (std::size_t a = above; a < aboveEnd && runs[a].left - reach <= runs[r].right; ++a)
                pieces.unite(std::int32_t(a), std::int32_t(r));
        }
    }

    // A piece's representative is its first run, so pieces are numbered in that order.
    std::vector<std::int32_t> numbers(runs.size(), -1);
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const auto root = std::size_t(pieces.find(std::int32_t(r)));
        if (numbers[root] < 0)
            numbers[root] = pieceCount++;
        runs[r].piece = numbers[root];
    }
}

std::vector<PieceExtent> ConnectedRuns::extents() const
{
    std::vector<PieceExtent> pieces(static_cast<std::size_t>(pieceCount));
    for (const PixelRun &run : runs) {
        PieceExtent &e = pieces[std::size_t(run.piece)];
        e.minX = std::min(e.minX, run.left);
        e.maxX = std::max(e.maxX, run.right);
        e.minY = std::min(e.minY, run.y);
        e.maxY = std::max(e.maxY, run.y);
        e.pixels += run.right - run.left + 1;
    }
    return pieces;
}

} // namespace velmora
