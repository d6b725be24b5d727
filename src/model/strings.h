// String helpers shared by the subsystems. Text in the logic is UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vitrolux::model {

inline bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// Splits at every occurrence of the separator; n separators give n + 1 pieces.
std::vector<std::string> split(std::string_view text, std::string_view separator);

}  // namespace vitrolux::model
