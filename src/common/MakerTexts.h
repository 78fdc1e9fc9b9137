#pragma once

#include <string_view>

namespace tarnwk {

// The maker's name, shown on the splash and the About tab.
inline constexpr std::string_view kMakerName = "Tarnwick Software";

}  // namespace tarnwk
