#include "config/profile_reader.h"

#include <variant>

#include "config/password_codec.h"
#include "config/profile_fields.h"
#include "output/messages.h"
#include "platform/text/ascii_case.h"
#include "platform/text/piece_reader.h"

namespace tavorine {

namespace {

constexpr std::size_t kLabelLength = 12;
constexpr std::size_t kValueStart = 13;
constexpr std::size_t kValueLength = 60;

// The fault of a password line, or none when the value decoded (or is empty).
std::optional<ProfileFault> StorePassword(std::string_view value, ProfileData& data) {
  if (value.empty()) {
    data.Password.clear();
    return std::nullopt;
  }
  const auto decoded = DecodePassword(value);
  if (const auto* password = std::get_if<std::string>(&decoded)) {
    data.Password = *password;
    return std::nullopt;
  }
  return std::get<PasswordFault>(decoded) == PasswordFault::Invalid ? ProfileFault::InvalidPassword
                                                                     : ProfileFault::WrongPassword;
}

std::optional<ProfileFault> CheckFields(const ProfileData& data) {
  if (data.User.empty()) return ProfileFault::UsernameMissing;
  if (data.Password.empty()) return ProfileFault::PasswordMissing;
  for (const ProfileField& field : kProfileFields) {
    const std::size_t length = (data.*field.member).size();
    if (length < field.minimum || length > field.capacity) return ProfileFault::InvalidParameters;
  }
  return std::nullopt;
}

}  // namespace

RunFailure ProfileFaultMessage(ProfileFault fault, std::string_view profileName) {
  switch (fault) {
    case ProfileFault::InvalidParameters: return messages::InvalidParameters(profileName);
    case ProfileFault::InvalidPassword: return messages::InvalidPassword(profileName);
    case ProfileFault::WrongPassword: return messages::WrongPassword(profileName);
    case ProfileFault::UsernameMissing: return messages::UsernameMissing(profileName);
    case ProfileFault::PasswordMissing: return messages::PasswordMissing(profileName);
  }
  return messages::InvalidParameters(profileName);
}

ProfileReading ReadProfile(ByteStream& profile, std::size_t pieceLength, PasswordFaultHandling handling) {
  ProfileReading reading;
  ProfileData& data = reading.data;
  PieceReader reader(profile, pieceLength);
  std::string line;
  while (reader.Next(line)) {
    const std::string_view label = std::string_view(line).substr(0, kLabelLength);
    const std::string value = line.size() > kValueStart ? line.substr(kValueStart, kValueLength) : std::string();
    for (const ProfileField& field : kProfileFields) {
      if (label != field.label) continue;
      if (field.member == &ProfileData::Password) {
        const std::optional<ProfileFault> fault = StorePassword(value, data);
        if (!fault) break;
        if (!reading.fault) reading.fault = fault;
        if (handling == PasswordFaultHandling::StopReading) return reading;
      } else if (field.member == &ProfileData::User) {
        data.User = AsciiUpperCase(value);
      } else {
        data.*field.member = value;
      }
      break;
    }
  }
  if (!reading.fault) reading.fault = CheckFields(data);
  return reading;
}

}  // namespace tavorine
