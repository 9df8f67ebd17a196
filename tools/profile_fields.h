#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "config/profile_data.h"

namespace tavorine {

// One labelled line of a profile as the tool writes and shows it. The limits
// are those the profile reader enforces; a profile the tool writes is read
// back through the reader as well, so a drift between the two is caught.
struct ProfileField {
  std::string_view label;
  std::string_view option;  // empty for the password, which never comes from the command line
  std::string ProfileData::*member;
  std::size_t minimum;
  std::size_t capacity;
};

// In the order the tool writes the lines.
inline constexpr std::array<ProfileField, 11> kProfileFields{{
    {"Extcompany.:", "--extcompany", &ProfileData::Extcompany, 2, 60},
    {"Destination:", "--destination", &ProfileData::Destination, 3, 11},
    {"Client.....:", "--client", &ProfileData::Client, 3, 11},
    {"User.......:", "--user", &ProfileData::User, 2, 47},
    {"Password...:", "", &ProfileData::Password, 2, 20},
    {"Language...:", "--language", &ProfileData::Language, 1, 31},
    {"Mode.......:", "--mode", &ProfileData::Mode, 3, 31},
    {"Hostname...:", "--hostname", &ProfileData::Hostname, 2, 47},
    {"Sysnr......:", "--sysnr", &ProfileData::Sysnr, 2, 31},
    {"Gwhost.....:", "--gwhost", &ProfileData::Gwhost, 2, 60},
    {"Gwservice..:", "--gwservice", &ProfileData::Gwservice, 2, 31},
}};

const ProfileField& FieldOf(std::string ProfileData::*member);

// Why the reader would refuse this value in this field ("needs at least 3
// characters", ...), or empty when it takes it.
std::string LengthRefusal(const ProfileField& field, std::string_view value);

// Why a value cannot be written at all: a control character would break the
// line or vanish in an editor. Empty when the value can be written.
std::string CharacterRefusal(std::string_view value);

}  // namespace tavorine
