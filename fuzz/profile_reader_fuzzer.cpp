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
                  d.Sysnr, d.Gwhost, d.Gwservice);
}

std::string WithWindowsLineEnds(std::string_view text) {
  std::string converted;
  for (const char c : text) {
    if (c == '\n') converted += '\r';
    converted += c;
  }
  return converted;
}

tavorine::ProfileReading ReadStream(std::string_view text, std::size_t readSize, std::size_t pieceLength,
                                    tavorine::PasswordFaultHandling handling) {
  tavorine::TextStream stream(text, readSize);
  return tavorine::ReadProfile(stream, pieceLength, handling);
}

void Read(std::string_view text, std::size_t pieceLength, tavorine::PasswordFaultHandling handling) {
  const tavorine::ProfileReading reading = ReadStream(text, fuzz::ReadSize(text), pieceLength, handling);
  if (!reading.fault) CheckAccepted(reading.data);
  if (text.find('\r') != std::string_view::npos) return;
  const std::string windowsText = WithWindowsLineEnds(text);
  const tavorine::ProfileReading windows = ReadStream(windowsText, fuzz::ReadSize(text) + 1, pieceLength, handling);
  fuzz::Check(Fields(windows) == Fields(reading), "CR LF reads as LF");
  fuzz::Check(windows.fault == reading.fault, "CR LF faults as LF");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::Text(data, size);
  Read(text, tavorine::kSingleProfilePieceLength, tavorine::PasswordFaultHandling::StopReading);
  Read(text, tavorine::kListingPieceLength, tavorine::PasswordFaultHandling::ReadOn);
  return 0;
}
