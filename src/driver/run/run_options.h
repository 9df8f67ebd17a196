#pragma once
#include <string>
#include <string_view>

#include "driver/run/option_words.h"
#include "output/output_mode.h"
#include "output/program_name.h"
#include "platform/time/local_time.h"
#include "platform/time/start_time.h"

namespace tavorine {

// The listing file that many group sensors share.
inline constexpr std::string_view kGlobalListingName = "SAP Kestrion.Gbl";

// The run-wide values that start-up takes from the command line. They hold
// for the whole run, except that the sensor directory search replaces the
// directory and path, and a listing run may replace the option words and item.
struct RunOptions {
  std::string programPath;     // argument 0, for the run log
  std::string profileName;     // file name, default extension added
  std::string profileDir;      // empty or ending in "\"
  std::string profilePath;     // the path the profile was opened at
  std::string optionsAsGiven;  // options as typed, as progress lines show them
  std::string firstOption;     // the second argument as typed: a GLOBAL run's sensor name
  bool listingRun = false;
  std::string itemText;
  OutputMode outputMode = OutputMode::EXEXML;
  bool consoleTrace = false;
  bool profileAsNamed = false;  // "@": no sensor directory search
  OptionWords words;
};

// "* hh:mm:ss SAP Tavorine Vers 4.3 / 29.08.22", the time the run started:
// the first console line. Made only when a run shows it, since the time of
// day costs a read of the system's time zone.
inline std::string StartBanner(const StartTime& started) {
  return "* " + LocalTimeOfDay(started.Wall()) + " SAP " + kProgramName + " " + kVersionText;
}

// The "* SapRfc.Ini" line of a logon through SapRfc.ini is a console line:
// in the XML form it stands only among the progress lines that a marker
// asks for, since the monitor rejects a document with text before it. The
// plain-text forms always show it.
inline bool TellsSapRfcIni(const RunOptions& options) {
  return options.consoleTrace || !WritesXml(options.outputMode);
}

}  // namespace tavorine
