// The scenario the host program plays when it is given none.
#pragma once

#include <string_view>

namespace flamer_host {

// Name under which the built-in scenario appears in messages.
inline constexpr char kDefaultScenarioName[] = "built-in";

std::string_view DefaultScenario();

}  // namespace flamer_host
