#include "core/analysis/photo_regions.h"

#include "core/analysis/united_boxes.h"

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

bool isContinuousTone(const QImage &grey, const QRect &cell)
{
    std::array<int, 256> histogram{};
    int smallSteps = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        const uchar *row = grey.constScanLine(y);
        for (int x = cell.left(); x <= cell.right(); ++x) {
            ++histogram[row[x]];
            if (x > cell.left()) {
                const int step = std::abs(int(row[x]) - int(row[x - 1]));
                smallSteps += step >= 1 && step <= kSmallStepMax;
            }
        }
    }
    int band = 0;
    for (int level = 0; level < 2 * kModeBand + 1; ++level)
        band += histogram[level];
    int widestBand = band;
    for (int level = 2 * kModeBand + 1; level < 256; ++level) {
        band += histogram[level] - histogram[level - 2 * kModeBand - 1];
        widestBand = std::max(widestBand, band);
    }
    const int pixels = cell.width() * cell.height();
    const int steps = (cell.width() - 1) * cell.height();
    return widestBand * 100 < pixels * kModeSharePercent && steps > 0
        && smallSteps * 100 > steps * kSmallStepSharePercent;
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
    std::vector<char> continuous(size_t(columns) * size_t(rows));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const QRect cell = cellAt(column, row);
            continuous[size_t(row) * columns + column] = cell.width() > 1 && isContinuousTone(grey, cell);
        }
    }

    // Each group of touching cells (diagonals included) becomes one region.
    QList<QRect> regions;
    std::vector<char> seen(continuous.size());
    std::vector<std::pair<int, int>> stack;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const size_t index = size_t(row) * columns + column;
            if (!continuous[index] || seen[index])
                continue;
            QRect pixels = cellAt(column, row);
            seen[index] = true;
            stack.push_back({column, row});
            while (!stack.empty()) {
                const auto [x, y] = stack.back();
                stack.pop_back();
                pixels |= cellAt(x, y);
                for (int ny = std::max(0, y - 1); ny <= std::min(rows - 1, y + 1); ++ny) {
                    for (int nx = std::max(0, x - 1); nx <= std::min(columns - 1, x + 1); ++nx) {
                        const size_t next = size_t(ny) * columns + nx;
                        if (continuous[next] && !seen[next]) {
                            seen[next] = true;
                            stack.push_back({nx, ny});
                        }
                    }
                }
            }
            regions.append(withMargin(pixels, grey.rect()));
        }
    }
    return merged(regions);
}

} // namespace velmora
