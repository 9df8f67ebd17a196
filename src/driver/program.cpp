#include "driver/program.h"

#include <variant>

#include "driver/profile_location.h"
#include "driver/road.h"
#include "driver/startup.h"
#include "driver/usage.h"
#include "output/result_document.h"
#include "platform/local_time.h"

namespace tavorine {

namespace {

// The error envelope of a failure, which is XML in every mode.
std::string Envelope(const RunEnd& end, OutputMode mode) {
  ResultDocument document(mode);
  if (end.afterHead) {
    document.DocErrorAfterHead(end.failure->message);
  } else {
    document.DocError(end.failure->message);
  }
  return document.Text();
}

ExitStatus Finish(const RunEnd& end, OutputMode mode, OutputSink& output) {
  if (end.failure) output.Write(Envelope(end, mode));
  if (!output.Delivered()) return ExitStatus::Failed;
  return end.failure ? ExitStatus::Failed : ExitStatus::Finished;
}

RunEnd RunRoad(const std::vector<std::string>& arguments, OutputSink& output, OutputMode& mode) {
  auto started = StartUp(arguments, LocalTimeOfDay());
  if (const auto* failure = std::get_if<RunFailure>(&started)) return {*failure};
  RunOptions options = std::move(std::get<RunOptions>(started));
  mode = options.outputMode;

  auto opened = OpenRunProfile(options);
  if (const auto* failure = std::get_if<RunFailure>(&opened)) return {*failure};
  OpenedProfile& profile = std::get<OpenedProfile>(opened);
  options.profileDir = profile.directory;
  options.profilePath = profile.path;
  if (options.listingRun) return RunListing(std::move(options), profile.file, output);
  return RunSingleProfile(options, profile.file, output);
}

}  // namespace

ExitStatus RunProgram(const std::vector<std::string>& arguments, OutputSink& output) {
  if (const auto usage = UsageText(arguments)) {
    output.Write(*usage);
    return output.Delivered() ? ExitStatus::Finished : ExitStatus::Failed;
  }
  OutputMode mode = OutputMode::EXEXML;
  const RunEnd end = RunRoad(arguments, output, mode);
  return Finish(end, mode, output);
}

}  // namespace tavorine
