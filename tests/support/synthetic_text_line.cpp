#include "synthetic_text_line.h"

namespace velmora::test {

TextObservation monospaceLine(const QString &text, const NormRect &box, double confidence)
{
    const qsizetype units = text.size();
    return TextObservation(text, box, confidence, [box, units](const TextRange &range) -> std::optional<NormRect> {
        if (units == 0 || range.location < 0 || range.length <= 0 || range.end() > units)
            return std::nullopt;
        const double cell = box.width / double(units);
        return NormRect(box.x + cell * double(range.location), box.y, cell * double(range.length), box.height);
    });
}

} // namespace velmora::test
