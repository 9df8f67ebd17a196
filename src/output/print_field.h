#pragma once
#include <string>
#include <string_view>

namespace tavorine {

// An aligned console line: indent blanks, the label padded with blanks to
// width characters (a longer label is kept whole), " : ", the value, "\n".
std::string PrintField(std::string_view label, int indent, int width, std::string_view value);

}  // namespace tavorine
