#include "config/password_codec.h"

#include <array>

#include "config/profile_key.h"

namespace tavorine {

namespace {

constexpr std::size_t kBodyLength = 20;
constexpr std::size_t kHeaderLength = 4;
constexpr std::size_t kPasswordMinimum = 2;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool CountsForCheckDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char KeyedWith(char c, std::size_t keyIndex) { return static_cast<char>(c ^ kProfileKey[keyIndex]); }

// Body index of the i-th character of the rearranged text: the body is taken
// alternately from its front and its back (0, 19, 1, 18, ...).
std::size_t BodyIndex(std::size_t i) { return i % 2 == 0 ? i / 2 : kBodyLength - 1 - i / 2; }

bool IsPrintableAscii(char c) { return c >= 0x20 && c <= 0x7E; }

}  // namespace

std::variant<std::string, PasswordFault> DecodePassword(std::string_view value) {
  if (value.size() != kEncodedPasswordLength) return PasswordFault::Invalid;
  std::array<char, kHeaderLength> header{};
  for (std::size_t i = 0; i < kHeaderLength; ++i) {
    header[i] = KeyedWith(value[i], i);
    if (!IsDigit(header[i])) return PasswordFault::Invalid;
  }
  const std::size_t offset = static_cast<std::size_t>(header[1] - '0');
  const std::size_t length = static_cast<std::size_t>((header[2] - '0') * 10 + (header[3] - '0'));

  std::string rearranged;
  unsigned checkSum = 0;
  for (std::size_t i = 0; i < kBodyLength; ++i) {
    const std::size_t body = BodyIndex(i);
    const char c = KeyedWith(value[kHeaderLength + body], offset + body);
    if (c == '\0') continue;
    rearranged += c;
    if (CountsForCheckDigit(c)) checkSum += static_cast<unsigned char>(c);
  }
  if (checkSum % 10 != static_cast<unsigned>(header[0] - '0')) return PasswordFault::Wrong;
  return rearranged.substr(0, length);
}

std::string PasswordRefusal(std::string_view password) {
  if (password.empty()) return "the password is empty";
  if (password.size() < kPasswordMinimum) return "a profile needs a password of at least 2 characters";
  if (password.size() > kPasswordCapacity) return "a profile holds at most 20 characters of password";
  for (const char c : password) {
    if (!IsPrintableAscii(c) || c == '~' || c == '`') {
      return "the password holds a character that a profile cannot hold (only printable ASCII other than ~ and `)";
    }
  }
  return {};
}

std::string EncodePassword(std::string_view password, std::uint32_t randomSeed) {
  constexpr std::string_view kFiller = "ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz23456789";
  std::uint32_t state = randomSeed * 2654435761U + 1U;
  const auto next = [&state]() {
    state = state * 1103515245U + 12345U;
    return state >> 16;
  };
  const std::size_t offset = next() % 10;

  std::array<char, kBodyLength> body{};
  unsigned checkSum = 0;
  for (std::size_t i = 0; i < kBodyLength; ++i) {
    const char c = i < password.size() ? password[i] : kFiller[next() % kFiller.size()];
    body[BodyIndex(i)] = c;
    if (CountsForCheckDigit(c)) checkSum += static_cast<unsigned char>(c);
  }
  const std::array<char, kHeaderLength> header = {
      static_cast<char>('0' + checkSum % 10), static_cast<char>('0' + offset),
      static_cast<char>('0' + password.size() / 10), static_cast<char>('0' + password.size() % 10)};

  std::string value;
  for (std::size_t i = 0; i < kHeaderLength; ++i) value += KeyedWith(header[i], i);
  for (std::size_t i = 0; i < kBodyLength; ++i) value += KeyedWith(body[i], offset + i);
  return value;
}

}  // namespace tavorine
