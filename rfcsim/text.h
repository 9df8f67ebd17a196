#pragma once
// Small text helpers of the simulator's line-based readers.
#include <string_view>

namespace rfcsim {

// The text without blanks and tabs at either end.
inline std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace rfcsim
