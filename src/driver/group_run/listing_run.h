#pragma once
#include "driver/run/road.h"
#include "driver/run/run_options.h"
#include "platform/files/input_file.h"

namespace tavorine {

// The run of a group: reads the opened listing file (a shared profile, or
// GLOBAL.P00 with its settings lines), checks each system it lists and
// writes the summary through the context's output.
RunEnd RunListing(RunOptions options, InputFile& listingFile, const RunContext& context);

}  // namespace tavorine
