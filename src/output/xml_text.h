#pragma once
#include <string>
#include <string_view>

namespace tavorine {

// Makes a text safe to stand inside an element of the monitor's XML: "&", "<"
// and ">" become entities, control characters other than tab become a blank,
// and every character beyond ASCII becomes a numeric character reference
// ("&#252;"), decoded from the platform's narrow encoding (the ANSI code page
// on Windows, UTF-8 elsewhere). The document is then plain ASCII and means the
// same whatever encoding the monitor assumes when it reads the pipe. A byte
// that does not decode, or a character XML cannot hold, becomes "?": one
// stray byte from a trace file must not make the monitor reject the whole
// document and hide the real message. ASCII text is kept byte for byte.
std::string EscapeXmlText(std::string_view text);

// The monitor shows at most this many characters of a document's text.
inline constexpr std::size_t kTextLimit = 2000;

// The text cut so that the document shows at most kTextLimit characters of
// it, "..." last when it was cut: at a character, in the XML form never
// inside the reference that stands for one (xml: how the document shows
// the text, escaped as above, or as it is).
std::string WithinTextLimit(std::string_view text, bool xml);

}  // namespace tavorine
