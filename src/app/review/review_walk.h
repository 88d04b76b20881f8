#pragma once

#include <QtGlobal>

#include <optional>

namespace velmora {

/// Where one step (−1 or +1) from `current` lands in a list of `count`, wrapping at both
/// ends. Without a current position a step down lands on the first and a step up on
/// the last. Nothing for an empty list. Findings, batch items and the queue's keys
/// all walk this way.
inline std::optional<qsizetype> adjacentPosition(qsizetype count, std::optional<qsizetype> current, int step)
{
    if (count <= 0)
        return std::nullopt;
    const qsizetype base = current ? *current : (step > 0 ? -1 : count);
    return ((base + step) % count + count) % count;
}

} // namespace velmora
