#pragma once

#include "core/detection/text_observation.h"

#include <QList>

namespace velmora {

/// For each line, whether its end is an edge that cuts text off: the image's right edge
/// or where the image turns see-through (what its cut says cuts it off), or the start of
/// the next cell's text on its row (within two of the line's characters: its column ends
/// at the cell's rule or gap, a padding short of that text, so the lines of the row tell).
/// A window's title clipped by the window's edge, or text that merely ends, is not: what
/// shows there may be all the text there is, so a value that shows none of its own marks
/// (an address's domain without a dot) is not taken for one cut off.
QList<bool> endsAtACuttingEdge(const QList<TextObservation> &lines);

} // namespace velmora
