#include "core/analysis/recognition/character_bounds.h"

#include <memory>

namespace velmora {

TextBoundsResolver characterBoundsResolver(QList<RecognizedCharacterBounds> characters)
{
    auto shared = std::make_shared<const QList<RecognizedCharacterBounds>>(std::move(characters));
    return [shared](const TextRange &range) -> std::optional<NormRect> {
        std::optional<NormRect> result;
        for (const RecognizedCharacterBounds &character : *shared) {
            if (character.range.location >= range.location && character.range.end() <= range.end())
                result = result ? result->united(character.bounds) : character.bounds;
        }
        return result;
    };
}

} // namespace velmora
