// The profile reader over any text, at the piece lengths of both roads and
// with both ways of meeting a bad password line. A text without CR reads the
// same with Windows line ends, as a profile written on either system must.
#include <tuple>

#include "config/profile_reader.h"
#include "fuzz_input.h"

namespace {

using tavorine::ProfileData;

void CheckAccepted(const ProfileData& data) {
  fuzz::Check(!data.User.empty() && !data.Password.empty(), "an accepted profile has a user and a password");
  fuzz::Check(data.Destination.size() <= 11 && data.Client.size() <= 11, "destination and client within capacity");
  fuzz::Check(data.User.size() <= 47 && data.Password.size() <= 20, "user and password within capacity");
  fuzz::Check(data.Extcompany.size() <= 60 && data.Gwhost.size() <= 60, "long fields within capacity");
}

auto Fields(const tavorine::ProfileReading& reading) {
  const ProfileData& d = reading.data;
  return std::tie(d.Extcompany, d.Destination, d.Client, d.User, d.Password, d.Language, d.Mode, d.Hostname,
                  d.Sysnr, d.Gwhost, d.Gwservice, d.DisplayHost);
}

std::string WithWindowsLineEnds(std::string_view text) {
  std::string converted;
  for (const char c : text) {
    if (c == '\n') converted += '\r';
    converted += c;
  }
  return converted;
}

void Read(std::string_view text, std::size_t pieceLength, tavorine::PasswordFaultHandling handling) {
  const tavorine::ProfileReading reading = tavorine::ReadProfile(text, pieceLength, "FUZZ.P00", handling);
  if (reading.fault) {
    fuzz::Check(reading.fault->message.starts_with("Error 100"), "a profile fault is Error 1003 to 1007");
  } else {
    CheckAccepted(reading.data);
  }
  if (text.find('\r') != std::string_view::npos) return;
  const tavorine::ProfileReading windows =
      tavorine::ReadProfile(WithWindowsLineEnds(text), pieceLength, "FUZZ.P00", handling);
  fuzz::Check(Fields(windows) == Fields(reading), "CR LF reads as LF");
  fuzz::Check(windows.fault.has_value() == reading.fault.has_value(), "CR LF faults as LF");
  if (reading.fault) fuzz::Check(windows.fault->message == reading.fault->message, "CR LF gives the same message");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::Text(data, size);
  Read(text, tavorine::kSingleProfilePieceLength, tavorine::PasswordFaultHandling::StopReading);
  Read(text, tavorine::kListingPieceLength, tavorine::PasswordFaultHandling::ReadOn);
  return 0;
}
