#pragma once

#include "core/support/raw_enum.h"

#include <QImage>
#include <QImageIOHandler>

#include <cstdint>

namespace velmora {

/// How a stored bitmap must be turned to appear upright, numbered as the EXIF/TIFF
/// orientation tag numbers it (1 to 8).
enum class ImageOrientation : std::uint32_t {
    up = 1,            ///< Stored upright.
    upMirrored = 2,    ///< Mirrored left to right.
    down = 3,          ///< Turned by 180 degrees.
    downMirrored = 4,  ///< Mirrored top to bottom.
    leftMirrored = 5,  ///< Transposed: rows and columns swapped.
    right = 6,         ///< Shown turned by 90 degrees clockwise.
    rightMirrored = 7, ///< Transversed: swapped and turned by 180 degrees.
    left = 8,          ///< Shown turned by 90 degrees counter-clockwise.
};

/// The orientation a decoder read from the file's orientation tag. Decoders map tag
/// values 2 to 8 to a transformation and every other value (missing, 0, 1, 9 and
/// above) to none, which is `up`.
ImageOrientation imageOrientationFromTransformation(QImageIOHandler::Transformations transformation);

/// The bitmap as it is meant to be seen: `up` returns it unchanged; values 5 to 8
/// swap width and height. A null result means the upright copy could not be made.
QImage uprightImage(const QImage &stored, ImageOrientation orientation);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::ImageOrientation,
    {velmora::ImageOrientation::up, "up"},
    {velmora::ImageOrientation::upMirrored, "upMirrored"},
    {velmora::ImageOrientation::down, "down"},
    {velmora::ImageOrientation::downMirrored, "downMirrored"},
    {velmora::ImageOrientation::leftMirrored, "leftMirrored"},
    {velmora::ImageOrientation::right, "right"},
    {velmora::ImageOrientation::rightMirrored, "rightMirrored"},
    {velmora::ImageOrientation::left, "left"});
