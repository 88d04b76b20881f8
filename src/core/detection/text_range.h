#pragma once

#include <cstdint>

namespace velmora {

/// A range of a recognised line's text in UTF-16 code units.
struct TextRange
{
    std::int64_t location = 0; ///< Units before the range.
    std::int64_t length = 0;   ///< Units in the range.

    std::int64_t end() const { return location + length; }
    friend bool operator==(const TextRange &, const TextRange &) = default;
};

} // namespace velmora
