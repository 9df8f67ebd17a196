#pragma once
#include <cstddef>
#include <optional>
#include <string_view>

#include "config/profile_data.h"
#include "output/run_failure.h"
#include "platform/text/byte_stream.h"

namespace tavorine {

inline constexpr std::size_t kSingleProfilePieceLength = 159;
inline constexpr std::size_t kListingPieceLength = 199;

// Why a profile is refused.
enum class ProfileFault {
  InvalidParameters,  // a field shorter than its minimum or longer than it holds (1003)
  InvalidPassword,    // a password value of the wrong length or header (1004)
  WrongPassword,      // a password whose check digit does not match (1005)
  UsernameMissing,    // 1006
  PasswordMissing,    // 1007
};

// The numbered message of a fault, naming the profile by its file name.
RunFailure ProfileFaultMessage(ProfileFault fault, std::string_view profileName);

// What reading a profile gave: the fields, and the first fault, if any.
struct ProfileReading {
  ProfileData data;
  std::optional<ProfileFault> fault;
};

// How the reader meets a bad password line: the single-profile run stops at
// once; a listing run notes the fault and reads on.
enum class PasswordFaultHandling { StopReading, ReadOn };

// Reads a profile (fixed-width labelled lines, read in pieces of pieceLength
// characters) into ProfileData. After the whole text it checks, in this
// order: an empty User, an empty Password, a field shorter than its minimum
// or longer than its capacity. A bad password line is a fault at once.
ProfileReading ReadProfile(ByteStream& profile, std::size_t pieceLength, PasswordFaultHandling handling);

}  // namespace tavorine
