#pragma once
#include <string>
#include <string_view>

namespace tavorine {

// Makes a text safe to stand inside an element of the monitor's XML: "&", "<"
// and ">" become entities, control characters other than tab become a blank,
// and a byte that is no part of valid UTF-8 becomes "?". One stray character
// from a trace file or a file name would otherwise make the monitor reject the
// whole document and hide the real message. Other text is kept byte for byte.
std::string EscapeXmlText(std::string_view text);

}  // namespace tavorine
