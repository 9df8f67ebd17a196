#pragma once
#include <string>
#include <string_view>

#include "catalogue.h"

namespace rfcsim {

struct EncodedValue {
  std::string bytes;  // exactly field.length bytes when `problem` is empty
  std::string problem;
};

// Turns the description's text for a field into the bytes the ERP system
// sends: characters blank-padded, dates of 8 and times of 6 digits (or all
// blanks), integers of 4 or 2 bytes in the machine's own order, packed
// decimals with the field's decimals.
EncodedValue EncodeField(const KnownField& field, std::string_view text);

}  // namespace rfcsim
