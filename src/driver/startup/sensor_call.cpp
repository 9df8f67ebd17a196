#include "driver/startup/sensor_call.h"

#include <variant>

#include "driver/group_run/listing_run.h"
#include "driver/run/option_words.h"
#include "driver/single_run/single_profile_run.h"
#include "driver/startup/profile_location.h"
#include "driver/startup/startup.h"

namespace tavorine {

namespace {

// What a diagnosis tells of the command line: the options understood, and
// the mistakes that the monitor's parameters field invites.
void TellCommandLine(const Narration& narration, std::string_view profileArgument, const RunOptions& options) {
  if (!narration.Told()) return;
  const std::size_t blank = profileArgument.find(' ');
  if (blank != std::string_view::npos && HoldsOptionWords(profileArgument.substr(blank))) {
    narration.Say("The profile's name \"" + std::string(profileArgument) + "\" holds a blank and option words: the "
                  "whole parameter line stands in one pair of quotes, and the sensor takes all of it for the "
                  "profile's name. Write the parameters without quotes around the whole line: " +
                  std::string(profileArgument));
  }
  if (options.profileName == kGlobalListingName) {
    return narration.Say("Options: \"" + options.optionsAsGiven + "\": a GLOBAL run takes its option words from "
                         "its settings line; here only the sensor's name and the markers count");
  }
  narration.Say(TellOptions(options.optionsAsGiven));
}

RunEnd RunRoad(const std::vector<std::string>& arguments, const RunContext& context, OutputMode& mode) {
  auto started = StartUp(arguments);
  if (const auto* failure = std::get_if<RunFailure>(&started)) return {*failure};
  RunOptions options = std::move(std::get<RunOptions>(started));
  mode = options.outputMode;
  TellCommandLine(context.narration, arguments[1], options);

  auto opened = OpenRunProfile(options, context.narration);
  if (const auto* failure = std::get_if<RunFailure>(&opened)) return {*failure};
  OpenedProfile& profile = std::get<OpenedProfile>(opened);
  options.profileDir = profile.directory;
  options.profilePath = profile.path;
  if (options.listingRun) return RunListing(std::move(options), profile.file, context);
  return RunSingleProfile(options, profile.file, context);
}

}  // namespace

ExitStatus RunSensorCall(const std::vector<std::string>& arguments, const RunContext& context) {
  OutputMode mode = OutputMode::EXEXML;
  const RunEnd end = RunRoad(arguments, context, mode);
  return EndRun(end, mode, context.output);
}

}  // namespace tavorine
