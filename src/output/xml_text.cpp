#include "output/xml_text.h"

#include "platform/text/narrow_text.h"

namespace tavorine {

namespace {

bool IsXmlCharacter(char32_t c) {
  return (c >= 0x80 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

void AppendAscii(char c, std::string& result) {
  switch (c) {
    case '&': result += "&amp;"; break;
    case '<': result += "&lt;"; break;
    case '>': result += "&gt;"; break;
    case '\t': result += '\t'; break;
    default: result += (c < 0x20 || c == 0x7F) ? ' ' : c; break;
  }
}

}  // namespace

std::string EscapeXmlText(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  bool ascii = true;
  for (const char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) {
    for (const char c : text) AppendAscii(c, result);
    return result;
  }
  for (const char32_t c : DecodeNarrowText(text)) {
    if (c < 0x80) {
      AppendAscii(static_cast<char>(c), result);
    } else if (IsXmlCharacter(c)) {
      result += "&#" + std::to_string(static_cast<unsigned long>(c)) + ";";
    } else {
      result += '?';
    }
  }
  return result;
}

std::string WithinTextLimit(std::string_view text, bool xml) {
  constexpr std::string_view kCut = "...";
  const auto shown = [xml](std::string_view piece) { return xml ? EscapeXmlText(piece).size() : 1; };
  std::size_t at = 0;
  std::size_t characters = 0;
  std::size_t fits = 0;  // the bytes that fit before "..."
  while (at < text.size()) {
    const std::size_t length = NarrowCharacterLength(text, at);
    characters += shown(text.substr(at, length));
    if (characters > kTextLimit) return std::string(text.substr(0, fits)) + std::string(kCut);
    at += length;
    if (characters <= kTextLimit - kCut.size()) fits = at;
  }
  return std::string(text);
}

}  // namespace tavorine
