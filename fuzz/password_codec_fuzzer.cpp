// Decoding any profile value, and encoding any password the profile tool
// accepts: the value must be printable, survive a trip through a profile and
// decode to the same password.
#include <cstring>
#include <variant>

#include "config/password_codec.h"
#include "config/profile_reader.h"
#include "fuzz_input.h"

namespace {

bool IsPrintable(std::string_view text) {
  for (const char c : text) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

void RoundTrip(std::string_view password, std::uint32_t seed) {
  if (!tavorine::PasswordRefusal(password).empty()) return;
  const std::string value = tavorine::EncodePassword(password, seed);
  fuzz::Check(value.size() == tavorine::kEncodedPasswordLength, "an encoded password has 24 characters");
  fuzz::Check(IsPrintable(value), "an encoded password is printable ASCII");
  const auto decoded = tavorine::DecodePassword(value);
  fuzz::Check(std::holds_alternative<std::string>(decoded), "an encoded password decodes");
  fuzz::Check(std::get<std::string>(decoded) == password, "an encoded password decodes to itself");

  const std::string profile = "User.......: U1\nPassword...: " + value + "\n";
  tavorine::TextStream stream(profile);
  const auto reading =
      tavorine::ReadProfile(stream, tavorine::kSingleProfilePieceLength, tavorine::PasswordFaultHandling::StopReading);
  fuzz::Check(reading.data.Password == password, "an encoded password reads back from a profile");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::Text(data, size);
  const auto decoded = tavorine::DecodePassword(text);
  if (const auto* password = std::get_if<std::string>(&decoded)) {
    fuzz::Check(password->size() <= tavorine::kPasswordCapacity, "a decoded password holds at most 20 characters");
  }
  if (size >= sizeof(std::uint32_t)) {
    std::uint32_t seed = 0;
    std::memcpy(&seed, data, sizeof seed);
    RoundTrip(text.substr(sizeof seed), seed);
  }
  return 0;
}
