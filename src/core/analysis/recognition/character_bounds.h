#pragma once

#include "core/detection/norm_rect.h"
#include "core/detection/text_observation.h"
#include "core/detection/text_range.h"

#include <QList>

namespace velmora {

/// The box of one character of a recognised line.
struct RecognizedCharacterBounds
{
    TextRange range;  ///< The character's UTF-16 range in the line's text.
    NormRect bounds;  ///< Normalised, origin bottom-left.

    friend bool operator==(const RecognizedCharacterBounds &, const RecognizedCharacterBounds &) = default;
};

/// The callback of a recognised line over its characters' boxes: given a range, the
/// union of the boxes of the characters that lie wholly inside it, or nothing when
/// none does. The union is not sanitised here. Holds an immutable shared copy.
TextBoundsResolver characterBoundsResolver(QList<RecognizedCharacterBounds> characters);

} // namespace velmora
