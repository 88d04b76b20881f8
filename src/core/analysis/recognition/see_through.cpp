#include "core/analysis/recognition/see_through.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace velmora {

namespace {

// The side of the tiles parts are made of: a part is at most this much larger than its
// pixels on each side, and a shadow or a corner gives few parts.
constexpr int tileSize = 32;

/// Merges each run of tiles of a band into the part that ends on the band above with
/// the same columns, else starts a part; the parts not carried on are done.
void addBand(const QList<QRect> &runs, QList<QRect> &open, QList<QRect> &done)
{
    QList<QRect> carried;
    for (const QRect &run : runs) {
        const auto above = std::find_if(open.begin(), open.end(), [&](const QRect &part) {
            return part.left() == run.left() && part.right() == run.right() && part.bottom() + 1 == run.top();
        });
        if (above == open.end()) {
            carried.append(run);
            continue;
        }
        carried.append(above->united(run));
        open.erase(above);
    }
    done.append(open);
    open = carried;
}

} // namespace

SeeThrough::SeeThrough(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return;
    m_argb = image.convertToFormat(QImage::Format_ARGB32);
    m_anywhere = within(m_argb.rect());
    if (!m_anywhere)
        m_argb = QImage();
}

bool SeeThrough::within(const QRect &box) const
{
    const QRect inside = box.intersected(m_argb.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const QRgb *line = pixels(y);
        if (std::any_of(line + inside.left(), line + inside.right() + 1, [](QRgb pixel) { return qAlpha(pixel) < 255; }))
            return true;
    }
    return false;
}

SeeThrough SeeThrough::part(const QRect &box) const
{
    SeeThrough part;
    part.m_anywhere = m_anywhere && within(box);
    if (part.m_anywhere)
        part.m_argb = m_argb.copy(box);
    return part;
}

int SeeThrough::groundAlpha(const QRect &band, int x) const
{
    int least = 255;
    for (int y = band.top(); y <= band.bottom(); ++y)
        least = std::min(least, alphaAt(x, y));
    return least;
}

bool SeeThrough::edgeWithin(const QRect &band) const
{
    const QRect inside = band.intersected(m_argb.rect());
    if (inside.isEmpty())
        return false;
    int before = groundAlpha(inside, inside.left());
    for (int x = inside.left() + 1; x <= inside.right(); ++x) {
        const int ground = groundAlpha(inside, x);
        if (std::abs(ground - before) >= edgeStep && std::min(ground, before) > 0)
            return true;
        before = ground;
    }
    return false;
}

QImage SeeThrough::unfaded(const QRect &box) const
{
    QImage opaque(box.size(), QImage::Format_RGB32);
    for (int y = 0; y < box.height(); ++y) {
        const QRgb *in = pixels(box.top() + y) + box.left();
        auto *out = reinterpret_cast<QRgb *>(opaque.scanLine(y));
        for (int x = 0; x < box.width(); ++x)
            out[x] = qAlpha(in[x]) == 0 ? qRgb(255, 255, 255) : (in[x] | 0xff000000u);
    }
    return opaque;
}

QList<QRect> SeeThrough::parts() const
{
    if (!m_anywhere)
        return {};
    const int width = m_argb.width();
    const int height = m_argb.height();
    QList<QRect> open, done;
    std::vector<bool> tiles(std::size_t((width + tileSize - 1) / tileSize));
    for (int top = 0; top < height; top += tileSize) {
        std::fill(tiles.begin(), tiles.end(), false);
        for (int y = top; y < std::min(height, top + tileSize); ++y) {
            const QRgb *line = pixels(y);
            for (std::size_t t = 0; t < tiles.size(); ++t) {
                const int left = int(t) * tileSize;
                tiles[t] = tiles[t] || std::any_of(line + left, line + std::min(width, left + tileSize), [](QRgb pixel) {
                    return qAlpha(pixel) < 255;
                });
            }
        }
        QList<QRect> runs;
        for (std::size_t t = 0; t < tiles.size(); ++t) {
            if (!tiles[t])
                continue;
            const int left = int(t) * tileSize;
            if (!runs.isEmpty() && runs.last().right() + 1 == left)
                runs.last().setRight(left + tileSize - 1);
            else
                runs.append(QRect(left, top, tileSize, tileSize));
        }
        addBand(runs, open, done);
    }
    done.append(open);
    for (QRect &part : done)
        part = part.intersected(m_argb.rect());
    return done;
}

} // namespace velmora
