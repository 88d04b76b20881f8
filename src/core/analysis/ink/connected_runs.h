#pragma once

#include <climits>
#include <cstdint>
#include <vector>

namespace velmora {

/// A run of marked pixels in one row, and the connected piece it belongs to.
struct PixelRun
{
    int y = 0;
    int left = 0;
    int right = 0; ///< inclusive
    std::int32_t piece = 0;
};

/// The bounding box of a connected piece, inclusive, and how many pixels it marks.
struct PieceExtent
{
    int minX = INT_MAX;
    int minY = INT_MAX;
    int maxX = -1;
    int maxY = -1;
    int pixels = 0;

    int width() const { return maxX - minX + 1; }
    int height() const { return maxY - minY + 1; }
};

/// Whether pixels touching only at a corner belong to one piece.
enum class PixelConnectivity { sides, sidesAndCorners };

/// The marked pixels of a mask (one byte a pixel, rows of `width`, non-zero marks) as
/// runs, row by row and left to right, each labelled with its connected piece. Pieces
/// are numbered from 0 in the order of their first run. Labelling runs instead of
/// pixels keeps the work to a pass over the mask and a few unions per row.
struct ConnectedRuns
{
    ConnectedRuns(const std::vector<std::uint8_t> &mask, int width, int height, PixelConnectivity connectivity);

    /// Each piece's extent, by piece number.
    std::vector<PieceExtent> extents() const;

    std::vector<PixelRun> runs;
    int pieceCount = 0;
};

} // namespace velmora
