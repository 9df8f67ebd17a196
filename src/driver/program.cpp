#include "driver/program.h"

#include <variant>

#include "driver/diagnosis.h"
#include "driver/listing_worker.h"
#include "driver/profile_location.h"
#include "driver/startup.h"
#include "driver/usage.h"
#include "platform/local_time.h"

namespace tavorine {

namespace {

constexpr std::string_view kDiagnoseWord = "--diagnose";

RunEnd RunRoad(const std::vector<std::string>& arguments, const RunContext& context, OutputMode& mode) {
  auto started = StartUp(arguments, LocalTimeOfDay());
  if (const auto* failure = std::get_if<RunFailure>(&started)) return {*failure};
  RunOptions options = std::move(std::get<RunOptions>(started));
  mode = options.outputMode;

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

ExitStatus RunProgram(const std::vector<std::string>& arguments, OutputSink& output) {
  const auto started = std::chrono::steady_clock::now();
  if (const auto usage = UsageText(arguments)) {
    output.Write(*usage);
    return output.Delivered() ? ExitStatus::Finished : ExitStatus::Failed;
  }
  if (arguments.size() == 3 && arguments[1] == kListingWorkerWord) return RunListingWorker(arguments[2], output);
  if (arguments.size() >= 2 && arguments[1] == kDiagnoseWord) {
    std::vector<std::string> call = arguments;
    call.erase(call.begin() + 1);
    return RunDiagnosis(call, output);
  }
  const Narration silent;
  return RunSensorCall(arguments, {output, silent, started});
}

}  // namespace tavorine
