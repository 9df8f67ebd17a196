#pragma once
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "driver/listed_system.h"
#include "driver/road.h"
#include "output/result_document.h"

namespace tavorine {

struct Counters {
  unsigned SystemCount = 0;
  unsigned ProcessedCount = 0;
  unsigned FailedCount = 0;
};

// A listing run's account of its systems, taken in listing order, however
// the systems were checked: the counters, each system's state line, and the
// summary at the end. Safe to use from the deadline's thread. Borrows the
// run's options and context.
class ListingProgress {
 public:
  ListingProgress(const RunOptions& options, const RunContext& context) : options_(options), context_(context) {}

  // The next system in listing order and what its checks gave (none when
  // it was skipped): its counters and state line, or the failure that ends
  // the whole run.
  std::optional<RunFailure> Take(const PreparedSystem& system, const SystemResult* result);
  // The next system, not done when the deadline came: counted as failed,
  // with the state "No Answer".
  void GiveUp(const PreparedSystem& system);
  // Every system not yet taken given up (prepared now, to know which open),
  // then the summary: the run's ending at the deadline.
  void FinishAtDeadline(const std::vector<std::string>& entries);
  // The summary document and, with console lines, the closing line.
  void WriteSummary();
  std::size_t Taken() const;

 private:
  void WriteState(const PreparedSystem& system, const std::string& state, const std::string& detail);

  const RunOptions& options_;
  const RunContext& context_;
  mutable std::mutex mutex_;
  std::size_t taken_ = 0;
  Counters counters_;
  std::string errorText_;  // a failed missing-objects check's text, until the next system
};

}  // namespace tavorine
