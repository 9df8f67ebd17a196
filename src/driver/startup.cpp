#include "driver/startup.h"

#include <algorithm>

namespace tavorine {

namespace {

constexpr std::size_t kItemTextLimit = 90;

bool IsGlobalListingName(std::string_view name) { return UpperCased(name) == "GLOBAL.P00"; }

}  // namespace

std::string UpperCased(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

std::string WithDefaultExtension(std::string name) {
  if (name.size() < 4 || name[name.size() - 4] != '.') name += ".P00";
  return name;
}

void SplitProfileDirectory(std::string& name, std::string& directory) {
  const std::size_t slash = name.rfind('\\');
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

std::variant<RunOptions, RunFailure> StartUp(const std::vector<std::string>& arguments, std::string_view startTime) {
  RunOptions options;
  options.programPath = arguments.empty() ? std::string() : arguments[0];
  options.startTime = startTime;
  options.startBanner = "* " + options.startTime + " SAP " + kProgramName + " " + kVersionText;
  if (arguments.size() < 2) return RunFailure{"Error 1001: Parameter for Profile-Name is missing !"};

  options.profileName = arguments[1];
  if (arguments.size() >= 3) options.optionsAsGiven = options.firstOption = arguments[2];
  if (arguments.size() >= 4) options.optionsAsGiven += " " + arguments[3];
  options.optionsText = UpperCased(options.optionsAsGiven);

  constexpr std::string_view kItemWord = "ITEM=";
  const std::size_t item = options.optionsText.find(kItemWord);
  if (item != std::string::npos) {
    options.listingRun = true;
    options.itemText = ItemTextAfter(options.optionsAsGiven, item + kItemWord.size());
    options.profileName = "Kestrion.Prf";
  }
  options.profileName = WithDefaultExtension(options.profileName);
  SplitProfileDirectory(options.profileName, options.profileDir);
  if (IsGlobalListingName(options.profileName)) {
    options.listingRun = true;
    options.profileName = "SAP Kestrion.Gbl";
  }

  const auto mode = SelectedOutputMode(options.optionsText);
  if (!mode) return RunFailure{"Error 1040: Unknown output mode in the options, use MODE=EXEXML, Glimmet, Tolvane, Corvanta or Brantle..."};
  options.outputMode = *mode;
  options.consoleTrace = options.optionsText.find_first_of("#@$%") != std::string::npos;
  return options;
}

}  // namespace tavorine
