#include <iostream>

#include "commands.h"
#include "config/profile_report.h"
#include "field_rules.h"
#include "file_named.h"
#include "platform/files/input_file.h"
#include "usage.h"

namespace tavorine {

namespace {

// The name the sensor puts into its messages: the file name without folder.
std::string_view FileNameOf(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\/:");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

bool StartsWith(std::string_view text, std::string_view head) { return text.substr(0, head.size()) == head; }

}  // namespace

int RunCheckCommand(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1 || StartsWith(arguments[0], "-")) {
    std::cerr << "tavorine-profile: check needs exactly one FILE\n\n" << UsageText();
    return kToolBadInput;
  }
  const std::string& file = arguments[0];
  std::optional<InputFile> text = InputFile::Open(file);
  if (!text || text->TooLarge()) {
    std::cerr << "tavorine-profile: cannot read " << FileNamed(file) << (text ? " (larger than 16 MB)" : "") << '\n';
    return kToolBadInput;
  }
  const std::string_view name = FileNameOf(file);
  // Reading on past a bad password line shows every field; the verdict is the
  // same as the sensor's, which stops there, as the first fault is kept.
  const ProfileReading reading = ReadProfile(*text, kSingleProfilePieceLength, PasswordFaultHandling::ReadOn);
  const std::string report = "Profile " + file + "\n" + ProfileReport(reading);
  if (reading.fault) {
    std::cout << report << ProfileFaultMessage(*reading.fault, name).message << '\n';
    return kToolProfileRefused;
  }
  std::cout << report << "OK: profile " << name << " is accepted\n";
  return kToolDone;
}

}  // namespace tavorine
