#include "field_rules.h"

namespace tavorine {

std::string OptionOf(const ProfileField& field) {
  if (field.member == &ProfileData::Password) return {};
  std::string option = "--";
  for (const char c : field.label) {
    if (c == '.' || c == ':') break;
    option += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return option;
}

const ProfileField& FieldOf(std::string ProfileData::*member) {
  for (const ProfileField& field : kProfileFields) {
    if (field.member == member) return field;
  }
  return kProfileFields.front();
}

std::string CharacterRefusal(std::string_view value) {
  for (const char c : value) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return "holds a control character";
  }
  return {};
}

}  // namespace tavorine
