#pragma once
#include <string_view>

namespace tavorine {

// Everything the program prints goes through here, unchanged: the monitor
// compares bytes, so no line end is ever translated.
void Print(std::string_view text);

// Puts standard output into binary mode (Windows) so "\n" stays one byte.
void UseBinaryStandardOutput();

}  // namespace tavorine
