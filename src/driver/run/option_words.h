#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "output/channel_text.h"
#include "output/output_mode.h"
#include "output/run_failure.h"
#include "rfc/logon.h"

namespace tavorine {

inline constexpr int kDefaultParallelChecks = 8;
inline constexpr int kMostParallelChecks = 64;
// The monitor gives a sensor at most 900 s.
inline constexpr int kLongestTimeout = 900;

// What the option words of an options text ask of a run: the command line's,
// or a GLOBAL run's settings line. The words are found anywhere in the text,
// in any letter case; their values are read from the text as typed. Every
// other part of the program reads this value, never the text.
struct OptionWords {
  bool runLog = false;                          // ,SYSLOG: run-log lines to Tavorine.log
  LogonOverrides logon;                         // ,HOST=name and ,NO=nn: the server and number to log on to
  ChannelSelection channel;                     // CH=n: the one channel of the Brantle form
  bool limits = false;                          // ,LIMITS: channels with the monitor's error limit
  bool detail = false;                          // ,DETAIL: the text names the failed systems, or the logon's trace
  int parallelChecks = kDefaultParallelChecks;  // ,PAR=n: systems of a group checked at once
  std::optional<int> timeoutSeconds;            // ,TIMEOUT=n: when the run ends with what it has
};

// Fails with Error 1048 for ,PAR= or ,TIMEOUT= without a number in range.
std::variant<OptionWords, RunFailure> ReadOptionWords(std::string_view optionsAsGiven);

// The words that only the command line's options carry: a GLOBAL run's
// settings line does not replace them.
struct CommandLineWords {
  OutputMode outputMode = OutputMode::EXEXML;  // MODE=name
  bool consoleTrace = false;                   // a marker # @ $ %: progress lines around the document
  bool profileAsNamed = false;                 // @: the profile is opened where the command line names it
  std::optional<std::string> item;             // ITEM=name: the group of Kestrion.Prf, ":" read as blank
};

// Fails with Error 1040 when MODE= names no output mode.
std::variant<CommandLineWords, RunFailure> ReadCommandLineWords(std::string_view optionsAsGiven);

// The options as the "State=Executing" line of a single run shows them: cut
// at the first "#", then at the first "@"; "(No Parameters)" when nothing,
// or only the opening of such a text, is left.
std::string ParametersText(std::string_view optionsAsGiven);

// The options as a group run's start line shows them: every ":" a blank, cut
// at the first " @".
std::string GroupStartOptions(std::string_view optionsAsGiven);

// The lines of --help that name the option words.
std::string_view OptionWordsHelp();

// What a diagnosis tells of an options text, line by line: the words it
// understood, as typed, and text that looks like an option word but is none
// (a word without its comma, a misspelt word), with what was meant.
std::string TellOptions(std::string_view optionsAsGiven);

// Whether a text holds an option word or a marker: a profile's name that
// does is a whole parameter line given in one pair of quotes.
bool HoldsOptionWords(std::string_view text);

}  // namespace tavorine
