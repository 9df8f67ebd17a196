#pragma once
// Helpers the fuzz targets share: the input as text, cut into parts at NUL
// bytes, and a stop that libFuzzer reports as a crash with the input saved.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

inline std::string_view Text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The text cut at its first maxParts - 1 NUL bytes; the last part keeps the rest.
inline std::vector<std::string> Parts(std::string_view text, std::size_t maxParts) {
  std::vector<std::string> parts;
  while (parts.size() + 1 < maxParts) {
    const std::size_t nul = text.find('\0');
    if (nul == std::string_view::npos) break;
    parts.emplace_back(text.substr(0, nul));
    text.remove_prefix(nul + 1);
  }
  parts.emplace_back(text);
  return parts;
}

// Readers take a stream, as they take a file: the input feeds it in reads of a
// size it chooses itself (1 to 16 bytes), so every way a read can cut a line,
// a CR LF above all, is met.
inline std::size_t ReadSize(std::string_view text) {
  return text.empty() ? 1 : static_cast<unsigned char>(text.back()) % 16 + 1;
}

[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  __builtin_trap();
}

inline void Check(bool holds, const char* what) {
  if (!holds) Fail(what);
}

}  // namespace fuzz
