#pragma once
#include <atomic>
#include <functional>
#include <optional>

#include "driver/run/road.h"
#include "platform/process/exit_status.h"
#include "platform/process/output_sink.h"
#include "platform/time/deadline.h"

namespace tavorine {

// A run's ",TIMEOUT=", the one deadline of every road. When the run is not
// done by then, ending writes what the run ends with, on a thread of its own
// (the run may be stuck inside the library), and the process ends with the
// exit status it returns. Exactly one of the two writes the run's ending: the
// run asks with TakeEnding first; the ending claims the output (ClaimEnding)
// before it writes, and the output then takes no other thread's lines.
// Owns the deadline's thread; borrows the output.
class RunDeadline {
 public:
  RunDeadline(const RunContext& context, Deadline at, std::function<ExitStatus()> ending);

  Deadline At() const { return at_; }
  bool Passed() const;
  // Returns when the run may write its own ending. Once the deadline has
  // come the process is ending: it never returns.
  void TakeEnding();
  // For a run that met its deadline: the deadline's thread, which wakes at
  // that moment too, writes the ending and ends the process.
  [[noreturn]] void AwaitEnding();

 private:
  OutputSink& output_;
  const ProcessEnd& processEnd_;
  Deadline at_;
  std::atomic<bool> taken_{false};
  std::optional<Alarm> alarm_;
};

}  // namespace tavorine
