#pragma once
#include <string>
#include <string_view>

namespace tavorine {

inline bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Only the ASCII letters a to z become upper case, whatever the locale: option
// words, labels and names compare the same on every monitor's machine.
std::string AsciiUpperCase(std::string_view text);

// How many characters must be put in, taken out or changed to make one text
// the other: how near a name typed wrong is to the one meant.
std::size_t EditDistance(std::string_view a, std::string_view b);

}  // namespace tavorine
