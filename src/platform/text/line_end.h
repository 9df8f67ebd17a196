#pragma once
#include <string_view>

namespace tavorine {

// The line end of the text files people write and edit on this system.
#ifdef _WIN32
inline constexpr std::string_view kTextFileLineEnd = "\r\n";
#else
inline constexpr std::string_view kTextFileLineEnd = "\n";
#endif

}  // namespace tavorine
