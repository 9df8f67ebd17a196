#pragma once
#include <atomic>
#include <chrono>
#include <functional>
#include <optional>

#include "driver/road.h"
#include "platform/deadline.h"

namespace tavorine {

// A run's ",TIMEOUT=": when the run is not done by then, ending writes what
// the run ends with instead (from the deadline's thread, while the run may
// be stuck inside the library), and the process ends with status. Exactly
// one of the two writes the run's ending: the run asks with TakeEnding first.
// Owns the deadline's thread; borrows the context.
class RunDeadline {
 public:
  RunDeadline(const RunContext& context, std::optional<int> seconds, ExitStatus status, std::function<void()> ending);

  // Returns when the run may write its own ending. When the deadline came
  // first, the process is ending: it never returns.
  void TakeEnding();
  // For a run that met its deadline in a wait: the deadline's thread, which
  // wakes at that moment too, writes the ending and ends the process.
  [[noreturn]] void AwaitEnding();

 private:
  std::atomic<bool> taken_{false};
  std::optional<Alarm> alarm_;
};

}  // namespace tavorine
