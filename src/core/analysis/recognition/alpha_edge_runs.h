#pragma once

#include "core/analysis/ink/ink_map.h"
#include "core/analysis/recognition/recognized_line.h"
#include "core/analysis/recognition/see_through.h"

namespace velmora {

/// The ends of a line whose first or last word runs on past an edge of the image's
/// alpha: what shows of the line is cut off there.
struct AlphaEdgeCut
{
    bool atStart = false;
    bool atEnd = false;
};

/// Where a line's ink runs on past an edge of the image's alpha, the character read
/// last before the edge also covers the rest of its word's ink, up to the first gap
/// wider than letter spacing, and the character read first after an edge the beginning
/// of its word before it. Text that runs on into a part too faint to read over either
/// ground, or that the edge's change of ground parts from its line, is read only up to
/// the edge: a finding that reaches it from either side thus covers its whole value.
/// `ink` and `alpha` are of the page the line was read on.
AlphaEdgeCut coverWordsPastAlphaEdges(RecognizedLine &line, const InkMap &ink, const SeeThrough &alpha);

} // namespace velmora
