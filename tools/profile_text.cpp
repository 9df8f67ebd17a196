#include "profile_text.h"

#include "config/password_codec.h"
#include "field_rules.h"

namespace tavorine {

std::string EncodedForProfile(std::string_view password, std::uint32_t seed) {
  std::string encoded = EncodePassword(password, seed);
  while (encoded.back() == ' ') encoded = EncodePassword(password, ++seed);
  return encoded;
}

std::string ProfileText(const ProfileData& values, std::string_view encodedPassword) {
  std::string text;
  for (const ProfileField& field : kProfileFields) {
    text += field.label;
    text += ' ';
    text += field.member == &ProfileData::Password ? std::string(encodedPassword) : values.*field.member;
    text += kProfileLineEnd;
  }
  return text;
}

}  // namespace tavorine
