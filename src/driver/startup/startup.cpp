#include "driver/startup/startup.h"

#include "output/messages.h"
#include "platform/text/ascii_case.h"

namespace tavorine {

namespace {

bool IsGlobalListingName(std::string_view name) { return AsciiUpperCase(name) == "GLOBAL.P00"; }

}  // namespace

std::string WithDefaultExtension(std::string name) {
  if (name.size() < 4 || name[name.size() - 4] != '.') name += ".P00";
  return name;
}

void SplitProfileDirectory(std::string& name, std::string& directory, std::string_view separators) {
  const std::size_t slash = name.find_last_of(separators);
  if (slash == std::string::npos || slash == 0) {
    directory.clear();
    return;
  }
  directory = name.substr(0, slash + 1);
  name.erase(0, slash + 1);
}

bool SearchesSensorDirectory(const RunOptions& options) {
  return options.outputMode == OutputMode::EXEXML && !options.profileAsNamed;
}

// Where the sensor directory is searched, the folder given with the profile
// name is dropped; Windows takes "/" for a folder as well as "", and ":" ends
// a drive, so all three end it. Elsewhere the path is opened as given, and
// only "" ends the folder the listing run reads its files from.
std::string_view ProfileNameSeparators(const RunOptions& options) {
  return SearchesSensorDirectory(options) ? "\\/:" : "\\";
}

std::variant<RunOptions, RunFailure> StartUp(const std::vector<std::string>& arguments) {
  RunOptions options;
  options.programPath = arguments.empty() ? std::string() : arguments[0];
  if (arguments.size() < 2) return messages::ProfileNameMissing();

  options.profileName = arguments[1];
  if (arguments.size() >= 3) options.optionsAsGiven = options.firstOption = arguments[2];
  if (arguments.size() >= 4) options.optionsAsGiven += " " + arguments[3];

  auto commandLine = ReadCommandLineWords(options.optionsAsGiven);
  if (const auto* failure = std::get_if<RunFailure>(&commandLine)) return *failure;
  const CommandLineWords& words = std::get<CommandLineWords>(commandLine);
  options.outputMode = words.outputMode;
  options.consoleTrace = words.consoleTrace;
  options.profileAsNamed = words.profileAsNamed;
  if (words.item) {
    options.listingRun = true;
    options.itemText = *words.item;
    options.profileName = "Kestrion.Prf";
  }
  options.profileName = WithDefaultExtension(options.profileName);
  SplitProfileDirectory(options.profileName, options.profileDir, ProfileNameSeparators(options));
  if (IsGlobalListingName(options.profileName)) {
    options.listingRun = true;
    options.profileName = kGlobalListingName;
    // A run over the global listing file takes its option words from the
    // file: the command line's, beyond the sensor name, do not count there.
    return options;
  }
  auto optionWords = ReadOptionWords(options.optionsAsGiven);
  if (const auto* failure = std::get_if<RunFailure>(&optionWords)) return *failure;
  options.words = std::get<OptionWords>(optionWords);
  return options;
}

}  // namespace tavorine
