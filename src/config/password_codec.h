#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace tavorine {

// A profile's "Password...:" value: 24 characters, a 4-character header (check
// digit, key offset, two length digits) and a 20-character body, each XORed
// with ProfileKey; the body holds the password's characters alternately from
// its front and back, followed by filler that only counts for the check digit.
inline constexpr std::size_t kEncodedPasswordLength = 24;
inline constexpr std::size_t kPasswordCapacity = 20;

enum class PasswordFault {
  Invalid,  // wrong length or a header character that is no digit (Error 1004)
  Wrong,    // the check digit does not match (Error 1005)
};

std::variant<std::string, PasswordFault> DecodePassword(std::string_view value);

// Why a password cannot be written into a profile, or empty when it can.
std::string PasswordRefusal(std::string_view password);

// Encodes a password that PasswordRefusal accepts. randomSeed chooses the key
// offset and the filler, so the same password need not look the same twice;
// every seed gives a value of printable ASCII that decodes to the password.
std::string EncodePassword(std::string_view password, std::uint32_t randomSeed);

}  // namespace tavorine
