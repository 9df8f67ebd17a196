#include "field_value.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>

#include "packed_decimal.h"
#include "rfc_abi.h"

namespace rfcsim {
namespace {

EncodedValue Problem(std::string text) { return {{}, std::move(text)}; }

EncodedValue Characters(const KnownField& field, std::string_view text) {
  if (text.size() > field.length) {
    return Problem(std::to_string(text.size()) + " characters, at most " + std::to_string(field.length) + " fit");
  }
  std::string bytes(text);
  bytes.resize(field.length, ' ');
  return {bytes, {}};
}

EncodedValue Digits(const KnownField& field, std::string_view text, const char* form) {
  const bool blank = text.find_first_not_of(' ') == std::string_view::npos;
  const bool digits = text.size() == field.length && text.find_first_not_of("0123456789") == std::string_view::npos;
  if (!blank && !digits) return Problem(std::string("expected ") + form + " or blanks");
  return Characters(field, text);
}

template <typename Integer>
EncodedValue Binary(std::string_view text) {
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      value < std::numeric_limits<Integer>::min() || value > std::numeric_limits<Integer>::max()) {
    return Problem("expected an integer from " + std::to_string(std::numeric_limits<Integer>::min()) + " to " +
                   std::to_string(std::numeric_limits<Integer>::max()));
  }
  const auto narrow = static_cast<Integer>(value);
  std::string bytes(sizeof narrow, '\0');
  std::memcpy(bytes.data(), &narrow, sizeof narrow);
  return {bytes, {}};
}

}  // namespace

EncodedValue EncodeField(const KnownField& field, std::string_view text) {
  switch (field.type) {
    case RFCTYPE_DATE:
      return Digits(field, text, "8 digits YYYYMMDD");
    case RFCTYPE_TIME:
      return Digits(field, text, "6 digits HHMMSS");
    case RFCTYPE_INT:
      return Binary<int32_t>(text);
    case RFCTYPE_INT2:
      return Binary<int16_t>(text);
    case RFCTYPE_BCD: {
      auto packed = EncodePacked(text, field.length, field.decimals);
      if (!packed) {
        return Problem("expected a decimal number of at most " + std::to_string(2 * field.length - 1) +
                       " digits with at most " + std::to_string(field.decimals) + " decimals");
      }
      return {*packed, {}};
    }
    default:
      return Characters(field, text);
  }
}

}  // namespace rfcsim
