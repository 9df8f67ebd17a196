#include "config/profile_report.h"

namespace tavorine {

namespace {

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

std::string LengthRefusal(const ProfileField& field, std::string_view value) {
  if (value.size() < field.minimum) return "needs at least " + std::to_string(field.minimum) + " characters";
  if (value.size() > field.capacity) return "holds at most " + std::to_string(field.capacity) + " characters";
  return {};
}

std::string ProfileReport(const ProfileReading& reading) {
  std::string report;
  for (const ProfileField& field : kProfileFields) report += FieldLine(field, reading);
  return report;
}

}  // namespace tavorine
