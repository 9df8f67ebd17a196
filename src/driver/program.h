#pragma once
#include <string>
#include <vector>

#include "platform/exit_status.h"
#include "platform/output_sink.h"

namespace tavorine {

// One whole sensor call: start-up, the profile located and opened, the run of
// one profile or of a listing. Writes what the run shows through output and
// returns the exit status; the one place that decides it (the RFC error report
// alone ends the process itself, from inside the library). A document that
// did not reach the output makes the run a failure.
ExitStatus RunProgram(const std::vector<std::string>& arguments, OutputSink& output);

}  // namespace tavorine
