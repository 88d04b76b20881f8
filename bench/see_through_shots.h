#pragma once

// A screenshot made 4K (3840x2160, each pixel drawn as four, as a 200 % screen shows it)
// and the same shot as window captures and overlays see through: one transparent pixel,
// a 20-pixel shadow around it (a capture of the window with its shadow, 40 pixels wider
// and taller), rounded transparent corners, and its right half at half opacity. What each costs to scan against the opaque shot tells how much of
// the image is read over a second ground.

#include <QImage>
#include <QList>
#include <QString>

#include <algorithm>
#include <cmath>

namespace bench {

struct SeeThroughShot
{
    QString name;
    QImage image;
};

/// Sets the alpha of the pixel at (x, y) to at most `alpha`, keeping its colour.
inline void limitAlpha(QImage &argb, int x, int y, int alpha)
{
    auto *pixel = reinterpret_cast<QRgb *>(argb.scanLine(y)) + x;
    if (alpha < qAlpha(*pixel))
        *pixel = qRgba(qRed(*pixel), qGreen(*pixel), qBlue(*pixel), alpha);
}

/// The shot as a window capture with its drop shadow: the window framed by `width`
/// pixels of black fading from a third opaque at its edge to transparent at the image's.
inline QImage withShadowBorder(const QImage &window, int width)
{
    QImage argb(window.width() + 2 * width, window.height() + 2 * width, QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const int distance = std::min({x, y, argb.width() - 1 - x, argb.height() - 1 - y});
            line[x] = distance < width ? qRgba(0, 0, 0, 85 * (distance + 1) / (width + 1)) : window.pixel(x - width, y - width);
        }
    }
    return argb;
}

/// The shot's corners rounded with `radius`, transparent outside the arcs and
/// antialiased along them.
inline QImage withRoundedCorners(QImage argb, int radius)
{
    for (int y = 0; y < radius; ++y) {
        for (int x = 0; x < radius; ++x) {
            const double outside = std::hypot(radius - x - 0.5, radius - y - 0.5) - radius;
            const int alpha = int(std::lround(255 * std::clamp(0.5 - outside, 0.0, 1.0)));
            for (const auto &[cx, cy] : {std::pair{x, y}, std::pair{argb.width() - 1 - x, y}, std::pair{x, argb.height() - 1 - y},
                                         std::pair{argb.width() - 1 - x, argb.height() - 1 - y}})
                limitAlpha(argb, cx, cy, alpha);
        }
    }
    return argb;
}

/// The right half of the shot at half opacity.
inline QImage withHalfTransparentPart(QImage argb)
{
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = argb.width() / 2; x < argb.width(); ++x)
            limitAlpha(argb, x, y, 128);
    }
    return argb;
}

/// The shot at 3840x2160, opaque, then each way it may see through.
inline QList<SeeThroughShot> seeThroughShots(const QImage &shot)
{
    const QImage opaque = shot.scaled(3840, 2160, Qt::IgnoreAspectRatio, Qt::FastTransformation).convertToFormat(QImage::Format_RGB32);
    QImage onePixel = opaque.convertToFormat(QImage::Format_ARGB32);
    limitAlpha(onePixel, onePixel.width() - 1, onePixel.height() - 1, 0);
    const QImage argb = opaque.convertToFormat(QImage::Format_ARGB32);
    return {{QStringLiteral("opaque"), opaque},
            {QStringLiteral("one transparent pixel"), onePixel},
            {QStringLiteral("20-px shadow border"), withShadowBorder(argb, 20)},
            {QStringLiteral("rounded corners"), withRoundedCorners(argb, 16)},
            {QStringLiteral("right half at 50 %"), withHalfTransparentPart(argb)}};
}

} // namespace bench
