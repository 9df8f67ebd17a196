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

// Calls visit(number, line) for every line of the text, numbered from 1,
// without its line end (LF or CR LF).
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  size_t number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    visit(++number, line);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
}

}  // namespace rfcsim
