#pragma once
#include <string>
#include <string_view>

namespace tavorine {

// A byte that is no part of any character of the encoding.
inline constexpr char32_t kUndecodable = 0xFFFFFFFF;

// The characters of a text as the platform hands texts to a console program:
// in the ANSI code page on Windows (the command line, the files it reads, the
// texts the RFC library returns), in UTF-8 elsewhere. Each byte that does not
// decode gives one kUndecodable.
std::u32string DecodeNarrowText(std::string_view text);

// The same for UTF-8, on every platform.
std::u32string DecodeUtf8(std::string_view text);

// The length in bytes of the character that begins at text[at], in the
// platform's narrow encoding; 1 for a byte that begins none.
std::size_t NarrowCharacterLength(std::string_view text, std::size_t at);

}  // namespace tavorine
