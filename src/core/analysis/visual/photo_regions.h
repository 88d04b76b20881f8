#pragma once

#include <QImage>
#include <QList>
#include <QRect>

namespace velmora {

/// The parts of a Grayscale8 image that hold continuous tone, as photographs and
/// video frames do, each with a margin, as pixel rectangles that do not overlap.
/// Text, user interface and flat artwork give none: in every small cell of them one
/// grey level (the background) or a few sharp steps dominate. A face can only be in
/// continuous tone, so the face search looks there alone; a JPEG's noise makes text
/// look continuous too, which costs only time.
QList<QRect> photoRegions(const QImage &grey);

} // namespace velmora
