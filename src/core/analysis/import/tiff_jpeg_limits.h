#pragma once

#include "core/analysis/import/image_input_limits.h"

#include <QByteArray>

#include <optional>

namespace velmora {

/// Holds a TIFF whose first image is JPEG-compressed to the limits of a JPEG file: each
/// strip or tile is a JPEG datastream of its own, and their scans' work adds up to one
/// image's (jpeg_scan_limits.h). A strip that runs past the end of the data, or whose
/// JPEG ends before its end-of-image marker, is cutShort; one whose byte count is
/// missing (or zero) runs to the end of the data, as far as the decoder may read it.
/// Strips whose bytes overlap (other than strips that share the same bytes), so that
/// together they hold more than the data, are tooManyScans. Reads the first image file
/// directory (classic TIFF or BigTIFF) and the JPEG markers of its strips, decoding
/// nothing; its tags are read in every integer type libtiff reads them in. A TIFF
/// compressed as old-style JPEG is oldStyleJpeg. Data that is not a TIFF, or a TIFF
/// compressed otherwise, passes.
std::optional<ImageInputRefusal> tiffJpegRefusal(const QByteArray &data);

} // namespace velmora
