#include "driver/group_run/listed_system.h"

#include "config/listing_file.h"
#include "config/profile_reader.h"
#include "platform/files/input_file.h"
#include "platform/time/local_time.h"

namespace tavorine {

PreparedSystem PrepareSystem(const RunOptions& options, const std::string& entry) {
  PreparedSystem system;
  system.entry = entry;
  if (!StaysInSensorFolder(entry)) return system;
  std::optional<InputFile> file = InputFile::Open(options.profileDir + entry);
  if (!file) return system;
  system.skipped = false;
  if (file->TooLarge()) {
    system.profileFault = true;
  } else {
    const ProfileReading reading = ReadProfile(*file, kListingPieceLength, PasswordFaultHandling::ReadOn);
    system.profileFault = reading.fault.has_value();
    system.profile = reading.data;
  }
  const ProfileData& profile = system.profile;
  system.consoleLine = "* " + LocalTimeOfDay() + " " + entry + ", " + profile.Hostname + ", " +
                       profile.Destination + ", " + profile.Sysnr + ", " + profile.Client;
  return system;
}

}  // namespace tavorine
