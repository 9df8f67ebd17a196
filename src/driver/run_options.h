#pragma once
#include <string>
#include <string_view>

#include "driver/run_limits.h"
#include "output/output_mode.h"

namespace tavorine {

inline constexpr const char* kProgramName = "Tavorine";
inline constexpr const char* kVersionText = "Vers 4.3 / 29.08.22";
// The listing file that many group sensors share.
inline constexpr std::string_view kGlobalListingName = "SAP Kestrion.Gbl";

// The run-wide values that start-up takes from the command line. They hold
// for the whole run, except that the sensor directory search replaces the
// directory and path, and a listing run may replace the options and item.
struct RunOptions {
  std::string programPath;     // argument 0, for the run log
  std::string startTime;       // hh:mm:ss
  std::string startBanner;     // "* hh:mm:ss SAP Tavorine Vers 4.3 / 29.08.22"
  std::string profileName;     // file name, default extension added
  std::string profileDir;      // empty or ending in "\"
  std::string profilePath;     // the path the profile was opened at
  std::string optionsText;     // options upper-cased: option words are found here
  std::string optionsAsGiven;  // options as typed: values are read from here
  std::string firstOption;     // the second argument as typed, for Error 1030
  bool consoleTrace = false;
  bool listingRun = false;
  std::string itemText;
  OutputMode outputMode = OutputMode::EXEXML;
  RunLimits limits;
};

}  // namespace tavorine
