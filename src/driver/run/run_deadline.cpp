#include "driver/run/run_deadline.h"

#include <thread>

namespace tavorine {

RunDeadline::RunDeadline(const RunContext& context, Deadline at, std::function<ExitStatus()> ending)
    : output_(context.output), processEnd_(context.processEnd), at_(at) {
  if (!at) return;
  alarm_.emplace(*at, [this, ending = std::move(ending)] {
    if (taken_.exchange(true)) return;
    processEnd_.AtOnce(ending());
  });
}

bool RunDeadline::Passed() const { return at_ && std::chrono::steady_clock::now() >= *at_; }

void RunDeadline::TakeEnding() {
  if (Passed() || taken_.exchange(true)) AwaitEnding();
  output_.ClaimEnding();
}

void RunDeadline::AwaitEnding() {
  // The deadline's thread is writing the run's ending and then ends the process.
  while (true) std::this_thread::sleep_for(std::chrono::hours(1));
}

}  // namespace tavorine
