#pragma once

#include "core/detection/text_observation.h"

#include <QList>

namespace velmora {

/// For each line, whether its end is an edge that cuts text off: the image's right edge,
/// where the image turns see-through, or the start of the next cell's text on its row
/// (within two of the line's characters).
/// A window's title clipped by the window's edge, or text that merely ends, is not: what
/// shows there may be all the text there is, so a value that shows none of its own marks
/// (an address's domain without a dot) is not taken for one cut off.
QList<bool> endsAtACuttingEdge(const QList<TextObservation> &lines);

} // namespace velmora
