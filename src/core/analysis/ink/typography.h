#pragma once

#include "core/analysis/ink/ink_map.h"

#include <QRect>

namespace velmora {

/// The contrast the strong strokes of the text in an area reach: the 90th percentile of
/// its ink, which most strokes of a glyph reach and only its antialiased edges and the
/// specks between glyphs fall short of; 255 where the area holds no ink.
int strongStrokeContrast(const InkMap &ink, const QRect &area);

} // namespace velmora
