#pragma once
#include <optional>
#include <string>

#include "driver/group_run/listed_system.h"
#include "driver/run/road.h"
#include "output/run_failure.h"

namespace tavorine {

struct Counters {
  unsigned SystemCount = 0;
  unsigned ProcessedCount = 0;
  unsigned FailedCount = 0;
};

// A group run's account of its systems, taken in listing order, however the
// systems were checked: the counters, each system's state line, and the
// summary at the end. Borrows the run's options and context; its caller
// keeps it to one thread at a time.
class ListingProgress {
 public:
  ListingProgress(const RunOptions& options, const RunContext& context) : options_(options), context_(context) {}

  // The next system in listing order and what its check gave (none when it
  // was skipped): its counters and state line, or the failure that ends the
  // whole run.
  std::optional<RunFailure> Take(const PreparedSystem& system, const SystemResult* result);
  // The next system, not done when the deadline came: counted as failed,
  // with the state "No Answer".
  void GiveUp(const PreparedSystem& system);
  // The summary document and, with console lines, the closing line.
  void WriteSummary();

 private:
  void WriteState(const PreparedSystem& system, const std::string& state, const std::string& detail);

  const RunOptions& options_;
  const RunContext& context_;
  Counters counters_;
  std::string failed_;  // with ,DETAIL: "entry: state" of each failed system, joined by ", "
  std::string errorText_;  // a failed missing-objects check's text, until the next system
};

}  // namespace tavorine
