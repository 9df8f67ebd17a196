#include "driver/run_deadline.h"

#include <thread>

namespace tavorine {

RunDeadline::RunDeadline(const RunContext& context, std::optional<int> seconds, ExitStatus status,
                         std::function<void()> ending) {
  if (!seconds) return;
  alarm_.emplace(context.started + std::chrono::seconds(*seconds),
                    [this, &output = context.output, status, ending = std::move(ending)] {
                      if (taken_.exchange(true)) return;
                      ending();
                      output.EndProcessAtOnce(output.Delivered() ? status : ExitStatus::Failed);
                    });
}

void RunDeadline::TakeEnding() {
  if (!taken_.exchange(true)) return;
  AwaitEnding();
}

void RunDeadline::AwaitEnding() {
  // The deadline's thread is writing the run's ending and then ends the process.
  while (true) std::this_thread::sleep_for(std::chrono::hours(1));
}

}  // namespace tavorine
