#include "driver/program.h"

#include <variant>

#include "config/sensor_directory.h"
#include "driver/road.h"
#include "driver/startup.h"
#include "driver/usage.h"
#include "output/result_document.h"
#include "platform/console.h"
#include "platform/local_time.h"
#include "platform/text_file.h"

namespace tavorine {

namespace {

// In mode EXEXML the profile must lie in the monitor's ExeXml folder; in the
// other modes, and with "@" in the options, it is opened where the command
// line names it.
std::variant<OpenedProfile, RunFailure> OpenRunProfile(const RunOptions& options) {
  const bool searchSensorDirectory =
      options.outputMode == OutputMode::EXEXML && options.optionsText.find('@') == std::string::npos;
  if (searchSensorDirectory) return SearchSensorDirectory(options.profileName);
  OpenedProfile opened{options.profileDir, options.profileDir + options.profileName, {}};
  auto text = ReadTextFile(opened.path);
  if (!text) return RunFailure{"Error 1002: Profile " + opened.path + " is missing..."};
  opened.text = std::move(*text);
  return opened;
}

}  // namespace

int PrintFailure(const RunFailure& failure) {
  ResultDocument document(OutputMode::EXEXML);
  document.DocError(failure.message);
  Print(document.Text());
  return kExitFailed;
}

int RunProgram(const std::vector<std::string>& arguments) {
  if (const auto usage = UsageText(arguments)) {
    Print(*usage);
    return kExitFinished;
  }
  auto started = StartUp(arguments, LocalTimeOfDay());
  if (const auto* failure = std::get_if<RunFailure>(&started)) return PrintFailure(*failure);
  RunOptions options = std::move(std::get<RunOptions>(started));

  auto opened = OpenRunProfile(options);
  if (const auto* failure = std::get_if<RunFailure>(&opened)) return PrintFailure(*failure);
  OpenedProfile& profile = std::get<OpenedProfile>(opened);
  options.profileDir = profile.directory;
  options.profilePath = profile.path;

  return options.listingRun ? RunListing(std::move(options)) : RunSingleProfile(options, profile.text);
}

}  // namespace tavorine
