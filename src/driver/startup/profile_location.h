#pragma once
#include <string>
#include <variant>

#include "driver/run/narration.h"
#include "driver/run/run_options.h"
#include "output/run_failure.h"
#include "platform/files/input_file.h"

namespace tavorine {

// The run's profile (or listing file), found and open for reading.
struct OpenedProfile {
  std::string directory;  // empty or ending in "\"
  std::string path;       // directory + file name
  InputFile file;
};

// In mode EXEXML without "@" the profile must lie in the monitor's ExeXml
// folder (the sensor directory search); otherwise it is opened where the
// command line names it. Fails with Error 1002, "Sorry, invalid
// Path-Usage...", or Error 1045 for a profile or path file beyond the limit.
// Tells the narration every line of the path file and every place tried.
std::variant<OpenedProfile, RunFailure> OpenRunProfile(const RunOptions& options, const Narration& narration);

}  // namespace tavorine
