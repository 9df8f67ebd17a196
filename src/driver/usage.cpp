#include "driver/usage.h"

#include "driver/run_options.h"

namespace tavorine {

namespace {

constexpr const char* kHelp = R"(Usage: Tavorine PROFILE [OPTIONS [MORE-OPTIONS]]
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
OPTIONS       words, in any letter case, found anywhere in the options:
  ITEM=name   check the group listed in "Kestrion.Prf" under this item
  CH=n        Brantle form: print only the value of channel n
  ,SYSLOG     append run-log lines to Tavorine.log in the working directory
  ,HOST=name  log on to this application server instead of the profile's
  ,NO=nn      log on with this system number instead of the profile's
  ,LIMITS     channels carry the monitor's error limit: a count above 0 is
              an error (set it when the sensor is made: the monitor reads
              limits only when it creates a channel)
  ,TIMEOUT=n  end the run after n seconds (1 to 900) with a message of its
              own; set it a few seconds below the sensor's timeout
  ,PAR=n      a group sensor checks n systems at once (1 to 64, default 8)
  MODE=name   output form: EXEXML (default), Glimmet, Tolvane (all XML),
              Corvanta or Brantle (plain text)
  # @ $ %     print progress lines around the document; "@" also opens the
              profile where PROFILE names it instead of searching the monitor's
              folders
Exit status:  0 finished, 1 ended by the RFC library's error report,
              2 failed with a numbered message in the error document
)";

}  // namespace

std::optional<std::string> UsageText(const std::vector<std::string>& arguments) {
  if (arguments.size() < 2) return std::nullopt;
  if (arguments[1] == "--version") return std::string(kProgramName) + " " + kVersionText + "\n";
  if (arguments[1] == "--help") return kHelp;
  return std::nullopt;
}

}  // namespace tavorine
