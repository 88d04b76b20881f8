#include "core/analysis/visual/photo_regions.h"

#include "core/analysis/ink/connected_runs.h"
#include "core/analysis/visual/united_boxes.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace velmora {

namespace {

constexpr int kCell = 16;
// Cells are looked at every half cell, so that a photograph only a cell and a half
// across (a small avatar) holds a whole cell wherever it lies.
constexpr int kStride = kCell / 2;
// A cell is continuous tone when no band of five neighbouring grey levels holds half
// of its pixels and more than 30 % of its horizontal steps are small (1 to 16 levels):
// antialiased text and flat colour have a dominant background and large steps. A
// photograph scaled down to an avatar keeps its detail in fewer pixels, so its steps
// reach up to 16 levels.
constexpr int kModeBand = 2;
constexpr int kModeSharePercent = 50;
constexpr int kSmallStepMax = 16;
constexpr int kSmallStepSharePercent = 30;
// The textured cells of a face need not reach its outline: every region grows by a
// quarter of its size on each side, and by no less than the smallest face searched.
constexpr int kMinMargin = 24;

/// How many small steps (1 to kSmallStepMax levels) lie between each pixel and the one
/// to its left, summed down the rows [top, top + kStride) of each column.
std::vector<int> smallStepsByColumn(const QImage &grey, int top)
{
    std::vector<int> counts(std::size_t(grey.width()), 0);
    for (int y = top; y < std::min(grey.height(), top + kStride); ++y) {
        const uchar *row = grey.constScanLine(y);
        for (int x = 1; x < grey.width(); ++x) {
            const int step = std::abs(int(row[x]) - int(row[x - 1]));
            counts[std::size_t(x)] += step >= 1 && step <= kSmallStepMax;
        }
    }
    return counts;
}

/// Whether no band of five neighbouring grey levels holds half of the cell's pixels.
bool lacksDominantLevel(const QImage &grey, const QRect &cell)
{
    std::array<int, 256> histogram{};
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        const uchar *row = grey.constScanLine(y);
        for (int x = cell.left(); x <= cell.right(); ++x)
            ++histogram[row[x]];
    }
    int band = 0;
    for (int level = 0; level < 2 * kModeBand + 1; ++level)
        band += histogram[level];
    int widestBand = band;
    for (int level = 2 * kModeBand + 1; level < 256; ++level) {
        band += histogram[level] - histogram[level - 2 * kModeBand - 1];
        widestBand = std::max(widestBand, band);
    }
    return widestBand * 100 < cell.width() * cell.height() * kModeSharePercent;
}

QRect withMargin(const QRect &region, const QRect &image)
{
    const int dx = std::max(kMinMargin, region.width() / 4);
    const int dy = std::max(kMinMargin, region.height() / 4);
    return region.adjusted(-dx, -dy, dx, dy) & image;
}

/// Unites overlapping rectangles until none overlap.
QList<QRect> merged(QList<QRect> regions)
{
    return unitedBoxes(std::move(regions), [](const QRect &a, const QRect &b) { return a.intersects(b); });
}

} // namespace

QList<QRect> photoRegions(const QImage &grey)
{
    Q_ASSERT(grey.format() == QImage::Format_Grayscale8);
    const int columns = (grey.width() + kStride - 1) / kStride;
    const int rows = (grey.height() + kStride - 1) / kStride;
    const auto cellAt = [&](int column, int row) {
        return QRect(column * kStride, row * kStride, kCell, kCell) & grey.rect();
    };
    // A cell spans two bands of kStride rows. Its small steps are counted first, from
    // running sums along the bands: they rule out the flat cells, most of a screen,
    // without a histogram.
    std::vector<std::uint8_t> continuous(size_t(columns) * size_t(rows));
    std::vector<int> band = smallStepsByColumn(grey, 0);
    std::vector<int> runningSteps(std::size_t(grey.width()));
    for (int row = 0; row < rows; ++row) {
        const std::vector<int> nextBand = smallStepsByColumn(grey, (row + 1) * kStride);
        int sum = 0;
        for (std::size_t x = 0; x < runningSteps.size(); ++x)
            runningSteps[x] = sum += band[x] + nextBand[x];
        for (int column = 0; column < columns; ++column) {
            const QRect cell = cellAt(column, row);
            const int steps = (cell.width() - 1) * cell.height();
            const int smallSteps = runningSteps[std::size_t(cell.right())] - runningSteps[std::size_t(cell.left())];
            continuous[size_t(row) * columns + column] = steps > 0 && smallSteps * 100 > steps * kSmallStepSharePercent
                && lacksDominantLevel(grey, cell);
        }
        band = nextBand;
    }

    // Each group of touching cells (diagonals included) becomes one region.
    QList<QRect> regions;
    for (const PieceExtent &cells : ConnectedRuns(continuous, columns, rows, PixelConnectivity::sidesAndCorners).extents())
        regions.append(withMargin(cellAt(cells.minX, cells.minY) | cellAt(cells.maxX, cells.maxY), grey.rect()));
    return merged(regions);
}

} // namespace velmora
