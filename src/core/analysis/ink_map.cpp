#include "core/analysis/ink_map.h"

#include "core/analysis/union_find.h"

#include <QtGlobal>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <unordered_map>
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
// How far (city-block pixels) a pixel may lie from its background.
constexpr int backgroundReach = 64;
// Grounds side by side that differ by at least this much in a channel are different
// areas: twice what one flat area may drift by from pixel to pixel.
constexpr int groundEdgeContrast = 2 * flatTolerance;

int channelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
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

// Two-pass city-block propagation from the seeds (distance 0): each cell learns its
// distance to the nearest seed (at most 255) and, when given values, takes that seed's.
template <typename Value>
void propagateNearest(int width, int height, std::vector<std::uint8_t> &distance, std::vector<Value> *value)
{
    const auto relax = [&](std::size_t to, std::size_t from) {
        if (distance[from] < 255 && distance[from] + 1 < distance[to]) {
            distance[to] = std::uint8_t(distance[from] + 1);
            if (value)
                (*value)[to] = (*value)[from];
        }
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t i = std::size_t(y) * width + x;
            if (x > 0)
                relax(i, i - 1);
            if (y > 0)
                relax(i, i - width);
        }
    }
    for (int y = height - 1; y >= 0; --y) {
        for (int x = width - 1; x >= 0; --x) {
            const std::size_t i = std::size_t(y) * width + x;
            if (x + 1 < width)
                relax(i, i + 1);
            if (y + 1 < height)
                relax(i, i + width);
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
    const auto pixel = [&rgb](int x, int y) { return reinterpret_cast<const QRgb *>(rgb.constScanLine(y))[x]; };

    // Flat pixels: every neighbour within the tolerance.
    std::vector<std::uint8_t> flat(count, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb centre = pixel(x, y);
            bool isFlat = true;
            for (int dy = -1; dy <= 1 && isFlat; ++dy) {
                for (int dx = -1; dx <= 1 && isFlat; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < width && ny < height)
                        isFlat = channelDistance(centre, pixel(nx, ny)) <= flatTolerance;
                }
            }
            flat[std::size_t(y) * width + x] = isFlat;
        }
    }

    // Connected flat areas, with their extent and their thickness.
    UnionFind areas(count);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t i = std::size_t(y) * width + x;
            if (!flat[i])
                continue;
            if (x + 1 < width && flat[i + 1])
                areas.unite(std::int32_t(i), std::int32_t(i + 1));
            if (y + 1 < height && flat[i + width])
                areas.unite(std::int32_t(i), std::int32_t(i + width));
        }
    }
    std::vector<std::uint8_t> depth(count, 255);
    for (std::size_t i = 0; i < count; ++i) {
        if (!flat[i])
            depth[i] = 0;
    }
    propagateNearest<std::uint8_t>(width, height, depth, nullptr);

    struct Extent { int minX = INT_MAX, minY = INT_MAX, maxX = -1, maxY = -1, thickness = 0; };
    std::unordered_map<std::int32_t, Extent> extents;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t i = std::size_t(y) * width + x;
            if (!flat[i])
                continue;
            Extent &e = extents[areas.find(std::int32_t(i))];
            e.minX = std::min(e.minX, x);
            e.maxX = std::max(e.maxX, x);
            e.minY = std::min(e.minY, y);
            e.maxY = std::max(e.maxY, y);
            e.thickness = std::max(e.thickness, int(depth[i]));
        }
    }

    // Every pixel takes the colour of its nearest background pixel.
    std::vector<std::uint8_t> reach(count, 255);
    std::vector<QRgb> background(count, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t i = std::size_t(y) * width + x;
            if (!flat[i])
                continue;
            const Extent &e = extents.at(areas.find(std::int32_t(i)));
            const bool wide = e.maxX - e.minX + 1 >= backgroundMinimumExtent || e.maxY - e.minY + 1 >= backgroundMinimumExtent;
            if (wide && e.thickness >= backgroundMinimumThickness) {
                reach[i] = 0;
                background[i] = pixel(x, y);
            }
        }
    }
    propagateNearest(width, height, reach, &background);

    m_groundEdges.assign(count, 0);
    for (int y = 0; y < height; ++y) {
        uchar *out = m_contrast.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const std::size_t i = std::size_t(y) * width + x;
            const bool grounded = reach[i] <= backgroundReach;
            out[x] = grounded ? uchar(channelDistance(pixel(x, y), background[i])) : 0;
            if (grounded && x > 0 && reach[i - 1] <= backgroundReach)
                m_groundEdges[i] = channelDistance(background[i], background[i - 1]) >= groundEdgeContrast;
        }
    }
}

} // namespace velmora
