#pragma once
#include <string>
#include <vector>

#include "driver/road.h"
#include "platform/exit_status.h"
#include "platform/output_sink.h"

namespace tavorine {

// What the program was started for: "--help", "--version", "--diagnose", or
// a sensor call. Writes what it shows through output and returns the exit
// status; the RFC error report alone ends the process itself, from inside
// the library.
ExitStatus RunProgram(const std::vector<std::string>& arguments, OutputSink& output);

// One whole sensor call: start-up, the profile located and opened, the run of
// one profile or of a listing, and the exit status, decided here and nowhere
// else. A document that did not reach the output makes the run a failure.
ExitStatus RunSensorCall(const std::vector<std::string>& arguments, const RunContext& context);

}  // namespace tavorine
