#include "driver/single_run/progress_lines.h"

namespace tavorine {

std::string ProgressLines(const RunOptions& options, const StartTime& started, const ProfileData& profile,
                          std::string_view time) {
  std::string lines = StartBanner(started) + "\n";
  lines += "* " + std::string(time) + " " + options.profileName + ", " + profile.Hostname + ", " +
           profile.Destination + ", " + profile.Sysnr + ", " + profile.Client + " State=Processing\n";
  lines += "* " + std::string(time) + " " + kProgramName + " - " + ParametersText(options.optionsAsGiven) +
           " State=Executing\n";
  return lines;
}

}  // namespace tavorine
