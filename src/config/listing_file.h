#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "output/run_failure.h"

namespace tavorine {

// Which text names a system while a listing run checks it.
enum class SystemNameKey { Profile, Alias, Host, Sid };

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
  SystemNameKey systemNameKey = SystemNameKey::Profile;
};

// Reads the text of "SAP Kestrion.Gbl", the listing file that many sensors
// share; each finds its lines by its sensor name. optionsText is the run's
// upper-cased options, whose first word is the sensor name (only its first
// 10 characters count). firstOptionAsTyped is the first command-line argument
// after the profile name, as typed; it names the sensor in Error 1030.
// Fails with the first of: Error 1029 at the first settings line of the sensor
// that does not assign it to this program, Error 1030 when the sensor has no
// settings line, Error 1025 for an empty listing, Error 1026 for an empty item.
std::variant<Listing, RunFailure> ReadGlobalListing(std::string_view fileText, std::string_view optionsText,
                                                    std::string_view firstOptionAsTyped);

// Reads the text of "Kestrion.Prf", the profile the suite shares: every "# Gsng: "
// line (in exactly this case) adds to the listing. itemText is the value of
// the option "ITEM=". Fails with Error 1025 for an empty listing, then with
// Error 1026 for an empty item.
std::variant<Listing, RunFailure> ReadSharedProfile(std::string_view fileText, std::string_view itemText);

// The messages for listing files that cannot be opened.
RunFailure SharedProfileMissing();
RunFailure GlobalListingMissing();

}  // namespace tavorine
