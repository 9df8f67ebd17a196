#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "config/profile_data.h"
#include "output/run_failure.h"

namespace tavorine {

inline constexpr std::size_t kSingleProfilePieceLength = 159;
inline constexpr std::size_t kListingPieceLength = 199;

// What reading a profile gave: the fields, and the first fault with its
// numbered message (Errors 1003 to 1007), if any.
struct ProfileReading {
  ProfileData data;
  std::optional<RunFailure> fault;
};

// How the reader meets a bad password line: the single-profile run stops at
// once; a listing run notes the fault and reads on.
enum class PasswordFaultHandling { StopReading, ReadOn };

// Reads a profile's text (fixed-width labelled lines, read in pieces of
// pieceLength characters) into ProfileData. profileName names the file in the
// messages. After the whole text it checks, in this order: an empty User
// (1006), an empty Password (1007), a field shorter than its minimum or longer
// than its capacity (1003). A bad password line is Error 1004 or 1005 at once.
ProfileReading ReadProfile(std::string_view text, std::size_t pieceLength, std::string_view profileName,
                           PasswordFaultHandling handling);

}  // namespace tavorine
