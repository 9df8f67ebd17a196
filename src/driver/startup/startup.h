#pragma once
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "driver/run/run_options.h"
#include "output/run_failure.h"

namespace tavorine {

// Turns the command line (argument 0 first) into the run-wide values. Fails
// with Error 1001 without a profile argument, with Error 1040 when the
// mode option names no output mode, with Error 1048 for a ,PAR= or ,TIMEOUT=
// out of range (in a GLOBAL run the settings line's words count instead,
// read by the listing run).
std::variant<RunOptions, RunFailure> StartUp(const std::vector<std::string>& arguments);

// Whether the run looks for its profile in the monitor's sensor directory:
// in mode EXEXML without "@" in the options.
bool SearchesSensorDirectory(const RunOptions& options);

// Start-up's text rules, each on its own for the tests.
std::string WithDefaultExtension(std::string name);
// Splits at the last of the separators, unless that is the first character.
void SplitProfileDirectory(std::string& name, std::string& directory, std::string_view separators);
std::string_view ProfileNameSeparators(const RunOptions& options);

}  // namespace tavorine
