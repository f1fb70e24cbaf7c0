// Names a parameterised case after the `name` field of its row, so that the report says
// which row failed.
#pragma once

#include <string>

namespace selvane::test {

inline constexpr auto CaseName = [](const auto& row) { return std::string(row.param.name); };

}  // namespace selvane::test
