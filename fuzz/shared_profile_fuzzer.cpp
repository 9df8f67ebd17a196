// The shared profile "Kestrion.Prf". The input is the item text, a NUL byte,
// then the file; without a NUL byte the whole input is the file, item GROUP.
#include <variant>

#include "config/listing_file.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto parts = fuzz::Parts(fuzz::Text(data, size), 2);
  if (parts.size() == 1) parts.insert(parts.begin(), "GROUP");
  tavorine::TextStream file(parts[1], fuzz::ReadSize(parts[1]));
  const auto result = tavorine::ReadSharedProfile(file, parts[0]);
  if (const auto* listing = std::get_if<tavorine::Listing>(&result)) {
    fuzz::Check(!listing->serverListing.empty() && listing->itemText == parts[0], "a listing keeps its item");
    fuzz::Check(!listing->sensorOptions.has_value(), "a shared profile gives no sensor options");
  } else {
    const auto fault = std::get<tavorine::ListingFault>(result);
    fuzz::Check(fault == tavorine::ListingFault::NoServerListing || fault == tavorine::ListingFault::NoItem,
                "a shared profile lacks its listing or its item");
  }
  return 0;
}
