#pragma once
#include <string>
#include <vector>

#include "platform/process/exit_status.h"
#include "platform/process/output_sink.h"
#include "platform/process/process_end.h"

namespace tavorine {

// What the program was started for: "--help", "--version", "--diagnose", a
// worker of a group sensor, or a sensor call. Writes what it shows through
// output and returns the exit status, which one function decides (EndRun);
// where a run cannot return (the library's error report, a deadline while the
// library hangs), processEnd ends the process.
ExitStatus RunProgram(const std::vector<std::string>& arguments, OutputSink& output, const ProcessEnd& processEnd);

}  // namespace tavorine
