#include "driver/run/rfc_run.h"

namespace tavorine {

RfcRun::RfcRun(std::unique_ptr<RfcLibrary> library, const RunOptions& options, const RunContext& context,
               RunLog runLog)
    : library_(std::move(library)),
      runLog_(std::move(runLog)),
      report_(*library_, context.output, context.processEnd),
      session_(*library_, report_, runLog_) {
  runLog_.SwitchOn(options.words.runLog);
}

std::variant<std::unique_ptr<RfcRun>, RunFailure> RfcRun::Start(const RunOptions& options,
                                                                 const RunContext& context,
                                                                 RunLog::Destination logTo) {
  const Narration& narration = context.narration;
  RfcLibraryLoading loading = LoadRfcLibrary();
  if (narration.Told()) {
    narration.Say("The RFC library, looked for by its full path (never in the working directory):");
    for (const LibraryPlace& place : loading.places) {
      const bool loaded = loading.library && loading.library->path == place.path;
      narration.Say(place.path + ": " + (loaded ? "loaded" : WhyNotLoaded(place)), 1);
    }
  }
  if (loading.failure) return *loading.failure;
  return std::make_unique<RfcRun>(std::move(loading.library), options, context,
                                  RunLog(DeadlineOf(context, options.words), std::move(logTo)));
}

}  // namespace tavorine
