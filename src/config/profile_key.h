#pragma once
#include <array>
#include <cstdint>

namespace tavorine {

// The key that encodes every profile password. Fixed forever: profiles in the
// field depend on it. Its bytes take only the values 0x01 and 0x1F, so that a
// digit or any printable ASCII character other than "~" and "`" stays
// printable when encoded; with a wider choice some passwords could only be
// written with control characters, which editors and copy-paste destroy.
inline constexpr std::array<std::uint8_t, 32> kProfileKey = {
    0x1F, 0x01, 0x01, 0x1F, 0x01, 0x1F, 0x1F, 0x01, 0x1F, 0x1F, 0x01, 0x01, 0x1F, 0x01, 0x1F, 0x01,
    0x01, 0x1F, 0x1F, 0x1F, 0x01, 0x1F, 0x01, 0x01, 0x1F, 0x01, 0x01, 0x1F, 0x1F, 0x01, 0x1F, 0x01,
};

}  // namespace tavorine
