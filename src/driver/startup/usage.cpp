#include "driver/startup/usage.h"

#include "driver/run/option_words.h"
#include "driver/run/run_options.h"

namespace tavorine {

namespace {

constexpr std::string_view kUsage = R"(Usage: Tavorine PROFILE [OPTIONS [MORE-OPTIONS]]
       Tavorine --diagnose PROFILE [OPTIONS [MORE-OPTIONS]]

Checks one ERP system on a DB4 database through the RFC library librfc32
and prints one result document for the monitor. When a sensor fails, start
it once with --diagnose before the profile: the same call, told step by step
in plain words (folders searched, profile values, library, logon, calls),
then the document the monitor would receive.

PROFILE       the profile of the system (".P00" is added when the name has no
              extension); in mode EXEXML it is looked for in the monitor's
              "Custom Sensors\EXEXML" folder. GLOBAL checks the group of the
              sensor named by the first option word in "SAP Kestrion.Gbl".
)";

constexpr std::string_view kExitStatus = R"(Exit status:  0 finished, 1 ended by the RFC library's error report,
              2 failed with a numbered message in the error document
)";

}  // namespace

std::optional<std::string> UsageText(const std::vector<std::string>& arguments) {
  if (arguments.size() < 2) return std::nullopt;
  if (arguments[1] == "--version") return std::string(kProgramName) + " " + kVersionText + "\n";
  if (arguments[1] == "--help") return std::string(kUsage) + std::string(OptionWordsHelp()) + std::string(kExitStatus);
  return std::nullopt;
}

}  // namespace tavorine
