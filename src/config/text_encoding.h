#pragma once
#include <string>
#include <string_view>

namespace tavorine {

// What is wrong with the encoding of a text file an administrator wrote, by
// its first bytes: a byte order mark, or UTF-16 (Notepad's "Unicode"), which
// the program, reading ANSI text, cannot read. Empty when nothing is.
std::string EncodingProblem(std::string_view head);

}  // namespace tavorine
