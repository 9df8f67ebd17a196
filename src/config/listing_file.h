#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "output/run_failure.h"
#include "platform/text/byte_stream.h"

namespace tavorine {

// What a listing file tells the listing run.
struct Listing {
  // The profile file names of the systems, each followed by "#", exactly as
  // the lines give them. Never cut: a cut would silently drop systems.
  std::string serverListing;
  // Names the group of systems in the run's summary.
  std::string itemText;
  // Global listing file only: the options text of the sensor's settings line,
  // in the file's letter case, kept whole. It replaces the options as typed.
  std::optional<std::string> sensorOptions;
};

// Why a listing file gives no listing.
enum class ListingFault {
  SensorNotAllocated,  // a settings line of the sensor lacks Sensor="SAP Tavorine" (1029)
  SensorNotFound,      // no settings line of the sensor (1030)
  NoServerListing,     // 1025
  NoItem,              // 1026
};

// The numbered message of a fault; sensorAsTyped names the sensor in Error 1030.
RunFailure ListingFaultMessage(ListingFault fault, std::string_view sensorAsTyped);

// Reads "SAP Kestrion.Gbl", the listing file that many sensors share; each
// finds its lines by its sensor name. optionsText is the command line's
// options, whose first word is the sensor name (only its first 10 characters
// count, in any letter case). Fails with the first of: a settings line of the sensor that does not
// assign it to this program, no settings line of the sensor, an empty
// listing, an empty item.
// onSettingsLine, when given, sees every settings line of the file ("# GSNX: "
// in any case), whichever sensor's, and whether it is this sensor's.
using SettingsLineSeen = std::function<void(std::string_view line, bool ofThisSensor)>;
std::variant<Listing, ListingFault> ReadGlobalListing(ByteStream& file, std::string_view optionsText,
                                                      const SettingsLineSeen& onSettingsLine = {});

// The key by which the sensor of these options finds its settings line:
// "# GSNX: " and the sensor name, padded with blanks to 10 characters.
std::string SettingsKey(std::string_view optionsText);

// Reads "Kestrion.Prf", the profile the suite shares: every "# Gsng: " line
// (in exactly this case) adds to the listing. itemText is the value of the
// option "ITEM=". Fails for an empty listing, then for an empty item.
std::variant<Listing, ListingFault> ReadSharedProfile(ByteStream& file, std::string_view itemText);

// Whether a listing entry names a file in the sensor folder or below it. An
// entry that climbs out (a ".." name), starts at a root ("\" or "/") or names
// a drive or a stream (":") is refused, whatever the file it would reach: a
// listing must not make the sensor log on with a profile from elsewhere.
bool StaysInSensorFolder(std::string_view entry);

}  // namespace tavorine
