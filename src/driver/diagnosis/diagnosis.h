#pragma once
#include <string>
#include <vector>

#include "driver/run/road.h"
#include "platform/process/exit_status.h"

namespace tavorine {

// "Tavorine --diagnose PROFILE [OPTIONS]": the sensor call of the other
// arguments, made exactly as the monitor makes it (it reads, writes and
// deletes the same files), told step by step in plain words on the way, and
// followed by the document the monitor would receive and its exit status,
// which is also the diagnosis's own. The password is never shown.
// arguments are the command line without "--diagnose"; the account goes to
// context's output.
ExitStatus RunDiagnosis(const std::vector<std::string>& arguments, const RunContext& context);

}  // namespace tavorine
