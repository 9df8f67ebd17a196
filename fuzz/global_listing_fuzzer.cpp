// The global listing file "SAP Kestrion.Gbl". The input is the options text
// as typed, a NUL byte, then the file; without a NUL byte the whole input is
// the file, read for the sensor TAVSENSOR.
#include <variant>

#include "config/listing_file.h"
#include "fuzz_input.h"
#include "platform/text/ascii_case.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto parts = fuzz::Parts(fuzz::Text(data, size), 2);
  if (parts.size() == 1) parts.insert(parts.begin(), "TAVSENSOR");
  const std::string& optionsAsGiven = parts[0];
  tavorine::TextStream file(parts[1], fuzz::ReadSize(parts[1]));
  const auto result = tavorine::ReadGlobalListing(file, tavorine::AsciiUpperCase(optionsAsGiven));
  if (const auto* listing = std::get_if<tavorine::Listing>(&result)) {
    fuzz::Check(!listing->serverListing.empty() && !listing->itemText.empty(), "a listing has systems and an item");
    fuzz::Check(listing->sensorOptions.has_value(), "a global listing gives the sensor's options");
    fuzz::Check(listing->itemText.size() <= 90, "the item holds at most 90 characters");
  }
  return 0;
}
