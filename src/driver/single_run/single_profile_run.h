#pragma once
#include "driver/run/road.h"
#include "driver/run/run_options.h"
#include "platform/files/input_file.h"

namespace tavorine {

// The run of one profile: reads the opened profile, checks its system and
// writes what the run shows through the context's output.
RunEnd RunSingleProfile(const RunOptions& options, InputFile& profile, const RunContext& context);

}  // namespace tavorine
