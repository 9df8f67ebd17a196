#pragma once
#include <chrono>
#include <optional>

#include "driver/run/narration.h"
#include "driver/run/run_options.h"
#include "output/run_failure.h"
#include "platform/process/exit_status.h"
#include "platform/process/output_sink.h"
#include "platform/process/process_end.h"
#include "platform/time/start_time.h"
#include "platform/time/deadline.h"

namespace tavorine {

// How a road ended. Without a failure the road has printed its document
// (whether the document reached the monitor, the output knows). A failure is
// put into the error envelope and printed by RunProgram, once the road has
// closed its connection.
struct RunEnd {
  std::optional<RunFailure> failure;
  // A listing run that fails after printing its document's head: the
  // envelope goes on inside that head, so the monitor still reads one document.
  bool afterHead = false;
  // The library's error report, in a worker, ended the run: its lines are
  // printed, and the run ends as the report ends it.
  bool errorReport = false;
};

// How every run ends, whoever ends it (the run itself, or its deadline): a
// failure's error envelope, which is XML in every mode, is written; then
// the exit status: a document that did not reach the monitor makes the run a
// failure, whatever it says.
ExitStatus EndRun(const RunEnd& end, OutputMode mode, OutputSink& output);

// Where a run's bytes go and who listens: the output the monitor reads, and
// the narration of a diagnosis (silent in a sensor call); how the process
// ends where the run cannot return; and when the run started, from which a
// ,TIMEOUT= counts (all borrowed).
struct RunContext {
  OutputSink& output;
  const Narration& narration;
  const ProcessEnd& processEnd;
  const StartTime& started;
};

// When a run with ",TIMEOUT=" must end; none without it.
inline Deadline DeadlineOf(const RunContext& context, const OptionWords& words) {
  if (!words.timeoutSeconds) return std::nullopt;
  return context.started.Steady() + std::chrono::seconds(*words.timeoutSeconds);
}

}  // namespace tavorine
