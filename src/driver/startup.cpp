#include "driver/startup.h"

#include <algorithm>

#include "output/messages.h"
#include "platform/ascii_case.h"

namespace tavorine {

namespace {

constexpr std::size_t kItemTextLimit = 90;

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

std::string ItemTextAfter(std::string_view optionsAsGiven, std::size_t valueStart) {
  std::string item(optionsAsGiven.substr(std::min(valueStart, optionsAsGiven.size())));
  item = item.substr(0, std::min(item.find_first_of(" ,"), kItemTextLimit));
  std::replace(item.begin(), item.end(), ':', ' ');
  return item;
}

bool SearchesSensorDirectory(const RunOptions& options) {
  return options.outputMode == OutputMode::EXEXML && options.optionsText.find('@') == std::string::npos;
}

// Where the sensor directory is searched, the folder given with the profile
// name is dropped; Windows takes "/" for a folder as well as "", and ":" ends
// a drive, so all three end it. Elsewhere the path is opened as given, and
// only "" ends the folder the listing run reads its files from.
std::string_view ProfileNameSeparators(const RunOptions& options) {
  return SearchesSensorDirectory(options) ? "\\/:" : "\\";
}

std::variant<RunOptions, RunFailure> StartUp(const std::vector<std::string>& arguments, std::string_view startTime) {
  RunOptions options;
  options.programPath = arguments.empty() ? std::string() : arguments[0];
  options.startTime = startTime;
  options.startBanner = "* " + options.startTime + " SAP " + kProgramName + " " + kVersionText;
  if (arguments.size() < 2) return messages::ProfileNameMissing();

  options.profileName = arguments[1];
  if (arguments.size() >= 3) options.optionsAsGiven = options.firstOption = arguments[2];
  if (arguments.size() >= 4) options.optionsAsGiven += " " + arguments[3];
  options.optionsText = AsciiUpperCase(options.optionsAsGiven);

  constexpr std::string_view kItemWord = "ITEM=";
  const std::size_t item = options.optionsText.find(kItemWord);
  if (item != std::string::npos) {
    options.listingRun = true;
    options.itemText = ItemTextAfter(options.optionsAsGiven, item + kItemWord.size());
    options.profileName = "Kestrion.Prf";
  }
  const auto mode = SelectedOutputMode(options.optionsText);
  if (!mode) return messages::UnknownOutputMode();
  options.outputMode = *mode;
  options.profileName = WithDefaultExtension(options.profileName);
  SplitProfileDirectory(options.profileName, options.profileDir, ProfileNameSeparators(options));
  if (IsGlobalListingName(options.profileName)) {
    options.listingRun = true;
    options.profileName = kGlobalListingName;
  }

  options.consoleTrace = options.optionsText.find_first_of("#@$%") != std::string::npos;
  // A run over the global listing file takes its options from the file: the
  // command line's, beyond the sensor name, do not count there.
  if (options.profileName == kGlobalListingName) return options;
  auto limits = ReadRunLimits(options.optionsText, options.optionsAsGiven);
  if (const auto* failure = std::get_if<RunFailure>(&limits)) return *failure;
  options.limits = std::get<RunLimits>(limits);
  return options;
}

}  // namespace tavorine
