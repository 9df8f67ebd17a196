#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rfcsim {

// Encodes a decimal text ("-12.5", "7", "0.00125") as a packed decimal of
// `length` bytes with `decimals` implied decimal places: two digits a byte,
// high nibble first, the last nibble the sign (0xC positive, 0xD negative).
// Gives nothing when the text is not a plain decimal number, has more
// fraction digits than `decimals`, or needs more than 2*length-1 digits.
std::optional<std::string> EncodePacked(std::string_view text, uint32_t length, uint32_t decimals);

}  // namespace rfcsim
