#include "driver/program.h"

#include <variant>

#include "driver/diagnosis/diagnosis.h"
#include "driver/group_run/listing_worker.h"
#include "driver/startup/sensor_call.h"
#include "driver/startup/usage.h"

namespace tavorine {

namespace {

constexpr std::string_view kDiagnoseWord = "--diagnose";

}  // namespace

ExitStatus RunProgram(const std::vector<std::string>& arguments, OutputSink& output, const ProcessEnd& processEnd) {
  const StartTime started;
  if (const auto usage = UsageText(arguments)) {
    output.Write(*usage);
    return EndRun({}, OutputMode::EXEXML, output);
  }
  const Narration silent;
  const RunContext context{output, silent, processEnd, started};
  if (arguments.size() == 3 && arguments[1] == kListingWorkerWord) return RunListingWorker(arguments[2], context);
  if (arguments.size() >= 2 && arguments[1] == kDiagnoseWord) {
    std::vector<std::string> call = arguments;
    call.erase(call.begin() + 1);
    return RunDiagnosis(call, context);
  }
  return RunSensorCall(arguments, context);
}

}  // namespace tavorine
