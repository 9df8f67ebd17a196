#pragma once
#include <string_view>

#include "driver/run_options.h"
#include "output/run_failure.h"

namespace tavorine {

inline constexpr int kExitFinished = 0;
inline constexpr int kExitFailed = 2;

// Prints the error envelope with the failure's message; returns kExitFailed.
int PrintFailure(const RunFailure& failure);

// The two roads of a run. Each prints what the run shows and returns the exit status.
int RunSingleProfile(const RunOptions& options, std::string_view profileText);
int RunListing(RunOptions options);

}  // namespace tavorine
