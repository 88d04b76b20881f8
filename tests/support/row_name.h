#pragma once

#include <string>

namespace velmora::test {

/// Names each case of a table-driven test after its row's `name`.
inline constexpr auto rowName = [](const auto &info) { return std::string(info.param.name); };

} // namespace velmora::test
