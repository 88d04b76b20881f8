#pragma once

#include "core/analysis/import/image_orientation.h"

#include <QImage>

namespace velmora {

/// A decoded image as the importer hands it on: an upright bitmap in sRGB (32-bit
/// RGB, or ARGB when the source has transparency) at its full pixel size. The
/// importer has already applied the stored orientation, so `orientation` is always
/// `up` and no later step handles orientation again.
struct ImportedImage
{
    QImage image;
    ImageOrientation orientation = ImageOrientation::up;

    friend bool operator==(const ImportedImage &, const ImportedImage &) = default;
};

} // namespace velmora
