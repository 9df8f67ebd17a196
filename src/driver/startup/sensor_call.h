#pragma once
#include <string>
#include <vector>

#include "driver/run/road.h"
#include "platform/process/exit_status.h"

namespace tavorine {

// One whole sensor call: start-up, the profile located and opened, the run of
// one profile or of a listing, and how it ends (EndRun): the exit status is
// decided there and nowhere else.
ExitStatus RunSensorCall(const std::vector<std::string>& arguments, const RunContext& context);

}  // namespace tavorine
