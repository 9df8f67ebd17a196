#pragma once
#include <string>
#include <string_view>

namespace tavorine {

// Only the ASCII letters a to z become upper case, whatever the locale: option
// words, labels and names compare the same on every monitor's machine.
std::string AsciiUpperCase(std::string_view text);

}  // namespace tavorine
