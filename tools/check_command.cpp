#include <iostream>

#include "commands.h"
#include "config/profile_reader.h"
#include "platform/input_file.h"
#include "field_rules.h"
#include "usage.h"

namespace tavorine {

namespace {

// The name the sensor puts into its messages: the file name without folder.
std::string_view FileNameOf(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\/:");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// A value in quotes, so blanks at either end show; bytes that would upset a
// terminal are shown as \xNN.
std::string Quoted(std::string_view value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text = "\"";
  for (const char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F || c == '"' || c == '\\') {
      text += "\\x";
      text += kHex[byte >> 4];
      text += kHex[byte & 0x0F];
    } else {
      text += c;
    }
  }
  return text + "\"";
}

bool StartsWith(std::string_view text, std::string_view head) { return text.substr(0, head.size()) == head; }

std::string PasswordShown(const ProfileReading& reading) {
  if (reading.fault == ProfileFault::InvalidPassword) return "(does not decode: not a valid encoded password)";
  if (reading.fault == ProfileFault::WrongPassword) return "(does not decode: its check digit is wrong)";
  const std::size_t length = reading.data.Password.size();
  if (length == 0) return "(missing)";
  return "(" + std::to_string(length) + (length == 1 ? " character" : " characters") + ", decodes)";
}

std::string FieldLine(const ProfileField& field, const ProfileReading& reading) {
  const std::string& value = reading.data.*field.member;
  std::string line(field.label);
  line += ' ';
  line += field.member == &ProfileData::Password ? PasswordShown(reading) : Quoted(value);
  if (const std::string why = LengthRefusal(field, value); !why.empty()) line += "  <- " + why;
  return line + '\n';
}

}  // namespace

int RunCheckCommand(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1 || StartsWith(arguments[0], "-")) {
    std::cerr << "tavorine-profile: check needs exactly one FILE\n\n" << UsageText();
    return kToolBadInput;
  }
  const std::string& file = arguments[0];
  std::optional<InputFile> text = InputFile::Open(file);
  if (!text || text->TooLarge()) {
    std::cerr << "tavorine-profile: cannot read " << file << (text ? " (larger than 16 MB)" : "") << '\n';
    return kToolBadInput;
  }
  const std::string_view name = FileNameOf(file);
  // Reading on past a bad password line shows every field; the verdict is the
  // same as the sensor's, which stops there, as the first fault is kept.
  const ProfileReading reading = ReadProfile(*text, kSingleProfilePieceLength, PasswordFaultHandling::ReadOn);
  std::string report = "Profile " + file + "\n";
  for (const ProfileField& field : kProfileFields) report += FieldLine(field, reading);
  if (reading.fault) {
    std::cout << report << ProfileFaultMessage(*reading.fault, name).message << '\n';
    return kToolProfileRefused;
  }
  std::cout << report << "OK: profile " << name << " is accepted\n";
  return kToolDone;
}

}  // namespace tavorine
