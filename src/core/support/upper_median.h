#pragma once

#include <algorithm>

namespace velmora {

/// The middle value of a non-empty list; of the two middle values of an even count, the
/// larger.
template<typename Values>
typename Values::value_type upperMedian(Values values)
{
    const auto middle = values.begin() + values.size() / 2;
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

} // namespace velmora
