#pragma once
#include <optional>

#include "driver/run_options.h"
#include "output/run_failure.h"
#include "platform/input_file.h"
#include "platform/output_sink.h"

namespace tavorine {

// How a road ended. Without a failure the road has printed its document
// (whether the document reached the monitor, the output knows). A failure is
// put into the error envelope and printed by RunProgram, once the road has
// closed its connection.
struct RunEnd {
  std::optional<RunFailure> failure;
  // A listing run that fails after printing its document's head: the
  // envelope goes on inside that head, so the monitor still reads one document.
  bool afterHead = false;
};

// The two roads of a run. Each reads its opened file (the profile, or the
// listing file) and writes what the run shows through output.
RunEnd RunSingleProfile(const RunOptions& options, InputFile& profile, OutputSink& output);
RunEnd RunListing(RunOptions options, InputFile& listingFile, OutputSink& output);

}  // namespace tavorine
