#include "config/profile_reader.h"

#include <variant>

#include "config/password_codec.h"
#include "config/profile_fields.h"
#include "platform/text_file.h"

namespace tavorine {

namespace {

constexpr std::size_t kLabelLength = 12;
constexpr std::size_t kValueStart = 13;
constexpr std::size_t kValueLength = 60;

std::string Message(std::string_view head, std::string_view name, std::string_view tail) {
  std::string text(head);
  text += name;
  text += tail;
  return text;
}

std::string UpperCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The message of a password fault, or empty when the value decoded.
std::string StorePassword(std::string_view value, std::string_view profileName, ProfileData& data) {
  if (value.empty()) {
    data.Password.clear();
    return {};
  }
  const auto decoded = DecodePassword(value);
  if (const auto* password = std::get_if<std::string>(&decoded)) {
    data.Password = *password;
    return {};
  }
  if (std::get<PasswordFault>(decoded) == PasswordFault::Invalid) {
    return Message("Error 1004: Invalid Password in Profile ", profileName, " found...");
  }
  return Message("Error 1005: Wrong Password in Profile ", profileName, " found...");
}

std::optional<RunFailure> CheckFields(const ProfileData& data, std::string_view profileName) {
  if (data.User.empty()) return RunFailure{Message("Error 1006: Username in Profile ", profileName, " is missing...")};
  if (data.Password.empty()) return RunFailure{Message("Error 1007: Password in Profile ", profileName, " is missing...")};
  for (const ProfileField& field : kProfileFields) {
    const std::size_t length = (data.*field.member).size();
    if (length < field.minimum || length > field.capacity) {
      return RunFailure{Message("Error 1003: Invalid Parameter(s) at ", profileName, " found...")};
    }
  }
  return std::nullopt;
}

}  // namespace

ProfileReading ReadProfile(std::string_view text, std::size_t pieceLength, std::string_view profileName,
                           PasswordFaultHandling handling) {
  ProfileReading reading;
  ProfileData& data = reading.data;
  PieceReader reader(text, pieceLength);
  std::string line;
  while (reader.Next(line)) {
    const std::string_view label = std::string_view(line).substr(0, kLabelLength);
    const std::string value = line.size() > kValueStart ? line.substr(kValueStart, kValueLength) : std::string();
    for (const ProfileField& field : kProfileFields) {
      if (label != field.label) continue;
      if (field.member == &ProfileData::Password) {
        std::string fault = StorePassword(value, profileName, data);
        if (fault.empty()) break;
        if (!reading.fault) reading.fault = RunFailure{std::move(fault)};
        if (handling == PasswordFaultHandling::StopReading) return reading;
      } else if (field.member == &ProfileData::User) {
        data.User = UpperCase(value);
      } else {
        data.*field.member = value;
        if (field.member == &ProfileData::Hostname) data.DisplayHost = value;
      }
      break;
    }
  }
  if (!reading.fault) reading.fault = CheckFields(data, profileName);
  return reading;
}

}  // namespace tavorine
