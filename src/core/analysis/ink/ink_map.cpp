#include "core/analysis/ink/ink_map.h"

#include "core/analysis/ink/connected_runs.h"

#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace velmora {

namespace {

// Neighbouring pixels of a flat area differ by at most this much in any channel
// (enough for the noise of JPEG screenshots and for gentle gradients).
constexpr int flatTolerance = 8;
// A flat area is background when it is wide or tall enough and thicker than any
// stroke of screen text, so that the inside of a bold glyph is never taken for it.
constexpr int backgroundMinimumExtent = 24;
constexpr int backgroundMinimumThickness = 4;
// Grounds side by side that differ by at least this much in a channel are different
// areas: twice what one flat area may drift by from pixel to pixel.
constexpr int groundEdgeContrast = 2 * flatTolerance;

inline int channelDistance(QRgb a, QRgb b)
{
    if (a == b)
        return 0;
    const int red = std::abs(qRed(a) - qRed(b));
    const int green = std::abs(qGreen(a) - qGreen(b));
    const int blue = std::abs(qBlue(a) - qBlue(b));
    return std::max(red, std::max(green, blue));
}

QImage opaque(const QImage &image, QRgb ground)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QImage result(argb.size(), QImage::Format_RGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        auto *out = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const int a = qAlpha(in[x]);
            const auto blend = [a](int c, int g) { return (c * a + g * (255 - a) + 127) / 255; };
            out[x] = qRgb(blend(qRed(in[x]), qRed(ground)), blend(qGreen(in[x]), qGreen(ground)), blend(qBlue(in[x]), qBlue(ground)));
        }
    }
    return result;
}

const QRgb *pixelRow(const QImage &rgb, int y)
{
    return reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
}

/// For each x, whether a[x] and b[x] lie within the flat tolerance of each other.
void closeness(const QRgb *__restrict a, const QRgb *__restrict b, int count, std::uint8_t *__restrict out)
{
    // Without branches and in blocks of a fixed length, so that the compiler compares
    // several pixels at once.
    const auto within = [](QRgb p, QRgb q, int shift) {
        const int difference = int((p >> shift) & 0xff) - int((q >> shift) & 0xff);
        return int(unsigned(difference + flatTolerance) <= unsigned(2 * flatTolerance));
    };
    const auto compare = [&](int x) {
        out[x] = std::uint8_t(within(a[x], b[x], 16) & within(a[x], b[x], 8) & within(a[x], b[x], 0));
    };
    constexpr int block = 16;
    int x = 0;
    for (; x + block <= count; x += block) {
        for (int k = 0; k < block; ++k)
            compare(x + k);
    }
    for (; x < count; ++x)
        compare(x);
}

/// Pixels every neighbour of which lies within the tolerance: the inside of flat areas.
/// Each pair of neighbours is compared once: with the pixel to the right in the same
/// row, and with the three below it in the next row.
std::vector<std::uint8_t> flatPixels(const QImage &rgb)
{
    const int width = rgb.width();
    const int height = rgb.height();
    std::vector<std::uint8_t> flat(std::size_t(width) * height, 0);
    // Relations of column x are kept at x + 1; a neighbour beyond the image never spoils flatness.
    const auto relations = [width] { return std::vector<std::uint8_t>(std::size_t(width) + 2, 1); };
    std::vector<std::uint8_t> right = relations();
    std::vector<std::uint8_t> downAbove = relations(), downRightAbove = relations(), downLeftAbove = relations();
    std::vector<std::uint8_t> down = relations(), downRight = relations(), downLeft = relations();
    for (int y = 0; y < height; ++y) {
        const QRgb *row = pixelRow(rgb, y);
        closeness(row, row + 1, width - 1, right.data() + 1);
        if (y + 1 < height) {
            const QRgb *below = pixelRow(rgb, y + 1);
            closeness(row, below, width, down.data() + 1);
            closeness(row, below + 1, width - 1, downRight.data() + 1);
            closeness(row + 1, below, width - 1, downLeft.data() + 1); // (x + 1, y) with (x, y + 1)
        } else {
            std::fill(down.begin(), down.end(), 1);
            std::fill(downRight.begin(), downRight.end(), 1);
            std::fill(downLeft.begin(), downLeft.end(), 1);
        }
        std::uint8_t *out = flat.data() + std::size_t(y) * width;
        for (int x = 0; x < width; ++x) {
            out[x] = right[x] & right[x + 1] & downAbove[x + 1] & down[x + 1] & downRightAbove[x] & downRight[x + 1]
                & downLeftAbove[x + 1] & downLeft[x];
        }
        std::swap(downAbove, down);
        std::swap(downRightAbove, downRight);
        std::swap(downLeftAbove, downLeft);
    }
    return flat;
}

// Two-pass city-block propagation from the seeds (distance 0): each cell learns its
// distance to the nearest seed (at most 255) and, when given values, takes that seed's.
// Each cell is relaxed from its left neighbour, then from the one above; then from its
// right neighbour, then from the one below: of equally near seeds, that order chooses.
template <typename Value>
void propagateNearest(int width, int height, std::vector<std::uint8_t> &distances, std::vector<Value> *values)
{
    std::uint8_t *distance = distances.data();
    Value *value = values ? values->data() : nullptr;
    // Nothing is carried from an unreached cell: 255 + 1 is never nearer.
    const auto relax = [distance, value](std::size_t to, std::size_t from) {
        const int nearer = distance[from] + 1;
        if (nearer < distance[to]) {
            distance[to] = std::uint8_t(nearer);
            if (value)
                value[to] = value[from];
        }
    };
    const auto w = std::size_t(width);
    for (int y = 0; y < height; ++y) {
        const std::size_t row = std::size_t(y) * w;
        if (y > 0)
            relax(row, row - w);
        for (std::size_t i = row + 1; i < row + w; ++i) {
            relax(i, i - 1);
            if (y > 0)
                relax(i, i - w);
        }
    }
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t row = std::size_t(y) * w;
        const bool last = y + 1 == height;
        if (!last)
            relax(row + w - 1, row + w - 1 + w);
        for (std::size_t i = row + w - 1; i-- > row;) {
            relax(i, i + 1);
            if (!last)
                relax(i, i + w);
        }
    }
}

} // namespace

InkMap::InkMap(const QImage &image, QRgb ground)
{
    const QImage rgb = opaque(image, ground);
    const int width = rgb.width();
    const int height = rgb.height();
    const std::size_t count = std::size_t(width) * height;
    m_contrast = QImage(width, height, QImage::Format_Grayscale8);
    if (count == 0)
        return;

    // Connected flat areas, with their extent and their thickness.
    const std::vector<std::uint8_t> flat = flatPixels(rgb);
    const ConnectedRuns areas(flat, width, height, PixelConnectivity::sides);
    std::vector<std::uint8_t> depth(count, 255);
    for (std::size_t i = 0; i < count; ++i) {
        if (!flat[i])
            depth[i] = 0;
    }
    propagateNearest<std::uint8_t>(width, height, depth, nullptr);

    const std::vector<PieceExtent> extents = areas.extents();
    std::vector<int> thickness(extents.size(), 0);
    for (const PixelRun &run : areas.runs) {
        const std::uint8_t *runDepth = depth.data() + std::size_t(run.y) * width;
        int &t = thickness[std::size_t(run.piece)];
        t = std::max(t, int(*std::max_element(runDepth + run.left, runDepth + run.right + 1)));
    }

    // Every pixel takes the colour of its nearest background pixel.
    std::vector<std::uint8_t> reach(count, 255);
    std::vector<QRgb> background(count, 0);
    for (const PixelRun &run : areas.runs) {
        const PieceExtent &e = extents[std::size_t(run.piece)];
        const bool wide = e.width() >= backgroundMinimumExtent || e.height() >= backgroundMinimumExtent;
        if (!wide || thickness[std::size_t(run.piece)] < backgroundMinimumThickness)
            continue;
        const std::size_t row = std::size_t(run.y) * width;
        std::fill(reach.begin() + std::ptrdiff_t(row + run.left), reach.begin() + std::ptrdiff_t(row + run.right + 1), 0);
        std::copy(pixelRow(rgb, run.y) + run.left, pixelRow(rgb, run.y) + run.right + 1,
                  background.begin() + std::ptrdiff_t(row + run.left));
    }
    propagateNearest(width, height, reach, &background);

    m_groundEdges.assign(count, 0);
    for (int y = 0; y < height; ++y) {
        const QRgb *in = pixelRow(rgb, y);
        uchar *out = m_contrast.scanLine(y);
        const std::size_t row = std::size_t(y) * width;
        for (int x = 0; x < width; ++x) {
            const std::size_t i = row + x;
            const bool grounded = reach[i] <= backgroundReach;
            out[x] = grounded ? uchar(channelDistance(in[x], background[i])) : 0;
            if (grounded && x > 0 && reach[i - 1] <= backgroundReach)
                m_groundEdges[i] = channelDistance(background[i], background[i - 1]) >= groundEdgeContrast;
        }
    }
}

} // namespace velmora
