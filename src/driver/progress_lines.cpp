#include "driver/progress_lines.h"

namespace tavorine {

std::string ParametersText(std::string_view optionsAsGiven) {
  std::string_view text = optionsAsGiven.substr(0, optionsAsGiven.find('#'));
  text = text.substr(0, text.find('@'));
  if (text == "(Parameters " || text == "(No ") text = {};
  return text.empty() ? "(No Parameters)" : std::string(text);
}

std::string ProgressLines(const RunOptions& options, const ProfileData& profile, std::string_view time) {
  std::string lines = options.startBanner + "\n";
  lines += "* " + std::string(time) + " " + options.profileName + ", " + profile.DisplayHost + ", " +
           profile.Destination + ", " + profile.Sysnr + ", " + profile.Client + " State=Processing\n";
  lines += "* " + std::string(time) + " " + kProgramName + " - " + ParametersText(options.optionsAsGiven) +
           " State=Executing\n";
  return lines;
}

}  // namespace tavorine
