#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "config/profile_data.h"

namespace tavorine {

// One labelled line of a profile: its 12-character label (compared
// case-sensitively), the field it fills, and the shortest and longest value
// the reader takes. The tool that writes profiles uses the same table, so the
// two cannot drift apart.
struct ProfileField {
  std::string_view label;
  std::string ProfileData::*member;
  std::size_t minimum;
  std::size_t capacity;
};

// In the order a profile is written.
inline constexpr std::array<ProfileField, 11> kProfileFields{{
    {"Extcompany.:", &ProfileData::Extcompany, 2, 60},
    {"Destination:", &ProfileData::Destination, 3, 11},
    {"Client.....:", &ProfileData::Client, 3, 11},
    {"User.......:", &ProfileData::User, 2, 47},
    {"Password...:", &ProfileData::Password, 2, 20},
    {"Language...:", &ProfileData::Language, 1, 31},
    {"Mode.......:", &ProfileData::Mode, 3, 31},
    {"Hostname...:", &ProfileData::Hostname, 2, 47},
    {"Sysnr......:", &ProfileData::Sysnr, 2, 31},
    {"Gwhost.....:", &ProfileData::Gwhost, 2, 60},
    {"Gwservice..:", &ProfileData::Gwservice, 2, 31},
}};

}  // namespace tavorine
