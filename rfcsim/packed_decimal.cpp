#include "packed_decimal.h"

#include <algorithm>

namespace rfcsim {
namespace {

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::optional<std::string> EncodePacked(std::string_view text, uint32_t length, uint32_t decimals) {
  if (length == 0) return std::nullopt;
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  const size_t point = text.find('.');
  std::string_view whole = text.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (whole.empty() && fraction.empty()) return std::nullopt;
  if (!AllDigits(whole) || !AllDigits(fraction) || fraction.size() > decimals) return std::nullopt;
  if (point != std::string_view::npos && fraction.empty()) return std::nullopt;

  while (whole.size() > 1 && whole.front() == '0') whole.remove_prefix(1);
  std::string digits(whole);
  digits += fraction;
  digits.append(decimals - fraction.size(), '0');
  const size_t capacity = 2 * size_t{length} - 1;
  while (digits.size() > capacity && digits.front() == '0') digits.erase(0, 1);
  if (digits.size() > capacity) return std::nullopt;
  digits.insert(0, capacity - digits.size(), '0');

  const bool nonZero = digits.find_first_not_of('0') != std::string::npos;
  std::string nibbles;
  for (char digit : digits) nibbles += static_cast<char>(digit - '0');
  nibbles += static_cast<char>(negative && nonZero ? 0xD : 0xC);
  std::string packed(length, '\0');
  for (size_t i = 0; i < length; ++i) {
    packed[i] = static_cast<char>((nibbles[2 * i] << 4) | nibbles[2 * i + 1]);
  }
  return packed;
}

}  // namespace rfcsim
