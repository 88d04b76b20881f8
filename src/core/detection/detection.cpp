#include "core/detection/detection.h"

#include <algorithm>

namespace velmora {

std::optional<NormRect> Detection::sanitizedNormalizedBounds(const NormRect &rect)
{
    const NormRect r = rect.standardized();
    if (r.isNull() || r.isEmpty() || r.isInfinite())
        return std::nullopt;
    if (r.minX() >= 0 && r.minY() >= 0 && r.maxX() <= 1 && r.maxY() <= 1)
        return r;
    const auto clamp = [](double v) { return std::clamp(v, 0.0, 1.0); };
    const double minX = clamp(r.minX());
    const double minY = clamp(r.minY());
    const double maxX = clamp(r.maxX());
    const double maxY = clamp(r.maxY());
    if (maxX > minX && maxY > minY)
        return NormRect(minX, minY, maxX - minX, maxY - minY);
    return std::nullopt;
}

} // namespace velmora
