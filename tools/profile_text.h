#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "config/profile_data.h"
#include "platform/text/line_end.h"

namespace tavorine {

// Profiles written on Windows get the line end that Notepad and the people who
// maintain profiles there expect; the reader takes either.
inline constexpr std::string_view kProfileLineEnd = kTextFileLineEnd;

// The encoded form of a password that PasswordRefusal accepts. Starting from
// seed, it takes the first encoding that does not end in a blank: a profile
// edited later by hand must not lose its password to an editor that trims
// trailing blanks.
std::string EncodedForProfile(std::string_view password, std::uint32_t seed);

// The whole profile: all eleven labelled lines in the usual order, each the
// label, one blank and the value, each ended by kProfileLineEnd. The password
// line carries encodedPassword; values.Password is not used.
std::string ProfileText(const ProfileData& values, std::string_view encodedPassword);

}  // namespace tavorine
