#pragma once

#include "core/analysis/ink/ink_map.h"
#include "core/analysis/recognition/recognized_line.h"
#include "core/analysis/recognition/see_through.h"
#include "core/detection/text_observation.h"

namespace velmora {

/// Where a line's ink runs on past an edge of the image's alpha, the character read
/// last before the edge also covers the rest of its word's ink, up to the first gap
/// wider than letter spacing, and the character read first after an edge the beginning
/// of its word before it. Text that runs on into a part too faint to read over either
/// ground, or that the edge's change of ground parts from its line, is read only up to
/// the edge: a finding that reaches it from either side thus covers its whole value.
/// `ink` and `alpha` are of the page the line was read on. Gives the ends where the line's
/// first or last word runs on past such an edge: what shows of it is cut off there
/// (withSeeThrough adds them to where the line's column cuts it).
TextCut coverWordsPastAlphaEdges(RecognizedLine &line, const InkMap &ink, const SeeThrough &alpha);

} // namespace velmora
