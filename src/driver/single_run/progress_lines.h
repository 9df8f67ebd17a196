#pragma once
#include <string>
#include <string_view>

#include "config/profile_data.h"
#include "driver/run/run_options.h"

namespace tavorine {

// The three lines a single-profile run prints before it logs on when the
// options ask for console lines: the start banner, "State=Processing" with
// the profile's connection, "State=Executing" with the parameters text.
std::string ProgressLines(const RunOptions& options, const StartTime& started, const ProfileData& profile,
                          std::string_view time);

}  // namespace tavorine
