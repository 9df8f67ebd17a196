#include "driver/rfc_run.h"

namespace tavorine {

RfcRun::RfcRun(std::unique_ptr<RfcLibrary> library, const RunOptions& options, OutputSink& output)
    : library_(std::move(library)), report_(*library_, output), session_(*library_, report_, runLog_) {
  runLog_.FollowOptions(options.optionsText);
}

std::variant<std::unique_ptr<RfcRun>, RunFailure> RfcRun::Start(const RunOptions& options, OutputSink& output) {
  RfcLibraryLoading loading = LoadRfcLibrary();
  if (loading.failure) return *loading.failure;
  return std::make_unique<RfcRun>(std::move(loading.library), options, output);
}

}  // namespace tavorine
