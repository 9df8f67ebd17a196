#include "platform/text/narrow_text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tavorine {

namespace {

// Length of the valid UTF-8 sequence that starts at text[at], 0 if none does.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
  }
  return length;
}

char32_t Utf8CodePoint(std::string_view sequence) {
  if (sequence.size() == 1) return static_cast<unsigned char>(sequence[0]);
  constexpr unsigned char kLeadMasks[] = {0, 0, 0x1F, 0x0F, 0x07};
  char32_t point = static_cast<unsigned char>(sequence[0]) & kLeadMasks[sequence.size()];
  for (std::size_t i = 1; i < sequence.size(); ++i) point = (point << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3F);
  return point;
}

#ifdef _WIN32

// Code points of UTF-16 text; a lone surrogate does not decode.
void AppendUtf16(const std::wstring& wide, std::u32string& points) {
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const char32_t unit = wide[i];
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    if (high && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
      points += 0x10000 + ((unit - 0xD800) << 10) + (static_cast<char32_t>(wide[++i]) - 0xDC00);
    } else {
      points += (unit >= 0xD800 && unit <= 0xDFFF) ? kUndecodable : unit;
    }
  }
}

// The code page's characters of bytes[0, length), empty when they are none.
std::wstring FromCodePage(const char* bytes, int length) {
  const int count = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, length, nullptr, 0);
  if (count <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(count), L'\0');
  MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, length, wide.data(), count);
  return wide;
}

#endif

}  // namespace

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string points;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Utf8SequenceLength(text, at);
    points += length == 0 ? kUndecodable : Utf8CodePoint(text.substr(at, length));
    at += length == 0 ? 1 : length;
  }
  return points;
}

#ifdef _WIN32

std::u32string DecodeNarrowText(std::string_view text) {
  std::u32string points;
  const std::wstring whole = FromCodePage(text.data(), static_cast<int>(text.size()));
  if (!whole.empty() || text.empty()) {
    AppendUtf16(whole, points);
    return points;
  }
  // Somewhere a byte does not decode: character by character, so that only
  // that byte is lost.
  for (std::size_t at = 0; at < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = (IsDBCSLeadByte(lead) && at + 1 < text.size()) ? 2 : 1;
    const std::wstring one = FromCodePage(text.data() + at, static_cast<int>(length));
    if (one.empty()) {
      points += kUndecodable;
      ++at;
    } else {
      AppendUtf16(one, points);
      at += length;
    }
  }
  return points;
}

std::size_t NarrowCharacterLength(std::string_view text, std::size_t at) {
  return IsDBCSLeadByte(static_cast<BYTE>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

#else

std::u32string DecodeNarrowText(std::string_view text) { return DecodeUtf8(text); }

std::size_t NarrowCharacterLength(std::string_view text, std::size_t at) {
  const std::size_t length = Utf8SequenceLength(text, at);
  return length == 0 ? 1 : length;
}

#endif

}  // namespace tavorine
