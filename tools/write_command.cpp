#include <iostream>
#include <random>

#include "commands.h"
#include "config/password_codec.h"
#include "config/profile_reader.h"
#include "field_rules.h"
#include "file_install.h"
#include "file_named.h"
#include "password_input.h"
#include "platform/files/windows_path.h"
#include "platform/text/ascii_case.h"
#include "profile_text.h"
#include "usage.h"
#include "write_request.h"

namespace tavorine {

namespace {

int Refuse(const std::string& reason) {
  std::cerr << "tavorine-profile: " << reason << '\n';
  return kToolBadInput;
}

// Why one of the values cannot go into a profile, or empty.
std::string ValueRefusal(const ProfileData& values) {
  for (const ProfileField& field : kProfileFields) {
    if (OptionOf(field).empty()) continue;
    const std::string& value = values.*field.member;
    std::string why = CharacterRefusal(value);
    if (why.empty()) why = LengthRefusal(field, value);
    if (!why.empty()) return "the value of " + OptionOf(field) + " " + why;
  }
  return {};
}

std::string PasswordProblem(const std::string& password) {
  std::string why = PasswordRefusal(password);
  if (why.empty()) why = LengthRefusal(FieldOf(&ProfileData::Password), password);
  return why.empty() ? why : "refused password: " + why;
}

// The profile as stored must give the sensor exactly what was asked for.
StoredCheck ReadsBackAs(const ProfileData& values) {
  return [values](std::string_view stored) -> std::string {
    TextStream text(stored);
    const ProfileReading reading = ReadProfile(text, kSingleProfilePieceLength, PasswordFaultHandling::StopReading);
    if (reading.fault) {
      return "the written file does not read back: " + ProfileFaultMessage(*reading.fault, "the new profile").message;
    }
    for (const ProfileField& field : kProfileFields) {
      const std::string& wanted = values.*field.member;
      const std::string expected = field.member == &ProfileData::User ? AsciiUpperCase(wanted) : wanted;
      if (reading.data.*field.member != expected) {
        return "the written file does not read back: " + std::string(field.label) + " differs";
      }
    }
    return {};
  };
}

bool IsFolder(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

int Write(WriteRequest request) {
  const std::filesystem::path path(NativePath(request.file));
  if (const std::string why = ValueRefusal(request.values); !why.empty()) return Refuse(why);
  if (IsFolder(path)) return Refuse(FileNamed(request.file) + " is a folder");
  if (!request.force && Exists(path)) return Refuse(FileNamed(request.file) + " exists; give --force to replace it");

  const std::optional<std::string> password = ReadNewPassword();
  if (!password) return Refuse("the two passwords differ");
  if (const std::string why = PasswordProblem(*password); !why.empty()) return Refuse(why);
  request.values.Password = *password;

  const std::string text = ProfileText(request.values, EncodedForProfile(*password, std::random_device{}()));
  if (const std::string why = InstallFile(path, text, request.force, ReadsBackAs(request.values)); !why.empty()) {
    return Refuse(FileNamed(request.file) + ": " + why);
  }
  std::cout << "Profile " << request.file << " written\n";
  return kToolDone;
}

}  // namespace

int RunWriteCommand(const std::vector<std::string>& arguments) {
  auto parsed = ParseWriteRequest(arguments);
  if (const auto* error = std::get_if<UsageError>(&parsed)) {
    std::cerr << "tavorine-profile: " << error->reason << "\n\n" << UsageText();
    return kToolBadInput;
  }
  return Write(std::move(std::get<WriteRequest>(parsed)));
}

}  // namespace tavorine
