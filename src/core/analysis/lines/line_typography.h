#pragma once

#include "core/analysis/lines/line_ink.h"

namespace velmora {

/// How one line's text is set: the line's own counterpart of PageTypography, measured
/// once from its glyphs when its reading begins and read by every pass over it. The
/// passes count their lengths in its height (heights()), since a line's glyphs are
/// measured against that line alone.
struct LineTypography
{
    /// The height of the line's text, top of the tallest glyph to the bottom of the
    /// lowest (pixels).
    double height = 1;
    /// The narrowest gap (pixels) that is a word break where Tesseract read one: a little
    /// wider than the line's usual gap between glyphs, never wider than letter spacing.
    double engineWordGap = 0;

    /// A length of `count` line heights, in pixels.
    double heights(double count) const { return count * height; }

    /// Measured on the line's glyphs: their height, and the gaps between them.
    static LineTypography of(const LineInk &ink);
};

namespace line_reading {

// Gaps between ink, in line heights: narrower is letter spacing and never a word
// break; wider is a word break even where Tesseract read none. Between the two,
// Tesseract's reading stands.
inline constexpr double letterSpacingLimit = 0.22;
inline constexpr double wordSpacingLimit = 0.38;

} // namespace line_reading

} // namespace velmora
