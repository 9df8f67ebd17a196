#include "config/profile_reader.h"
#include "driver/road.h"

namespace tavorine {

int RunSingleProfile(const RunOptions& options, std::string_view profileText) {
  const ProfileReading reading =
      ReadProfile(profileText, kSingleProfilePieceLength, options.profileName, PasswordFaultHandling::StopReading);
  if (reading.fault) return PrintFailure(*reading.fault);
  return PrintFailure({"Error 1098: The logon step is not built yet..."});
}

}  // namespace tavorine
