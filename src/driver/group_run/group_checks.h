#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/group_run/listing_progress.h"
#include "driver/run/rfc_run.h"
#include "driver/run/road.h"
#include "output/run_log.h"

namespace tavorine {

// The run log of a group run: the connections of all its systems numbered
// in turn, as one process numbers its connections, whichever process
// checked the system.
class GroupRunLog {
 public:
  GroupRunLog(Deadline deadline, bool on) : file_(deadline) { file_.SwitchOn(on); }

  // A line of the process that checked a system; false when the run's
  // deadline came before it could be written.
  bool Write(std::int32_t number, std::string_view text, std::string_view detail);

 private:
  RunLog file_;
  unsigned opened_ = 0;
  std::optional<std::int32_t> checkersNumber_;  // the current connection's, as its process numbered it
  std::int32_t runsNumber_ = 0;
};

// The systems of a group run, checked and taken in listing order. Up to
// ,PAR= workers check systems at once, each in a process of its own
// (listing_worker.h); with ,PAR=1, when no worker can be started, and for
// the systems that no worker took, this process checks the system itself
// when its turn comes. What each check printed and left (its lines, its
// run-log lines, its library trace, its "SapRfc.ini") reaches standard output
// and the working directory in listing order, byte for byte as the run
// checking one system after the other writes it; a failure that ends the run
// ends it at the same system, whatever was checked after it. At the
// ,TIMEOUT= deadline the systems not taken in are given up (those whose
// worker answered still count), and the summary ends the run.
RunEnd CheckGroup(const RunOptions& options, const std::vector<std::string>& entries, RfcRun& rfc,
                  GroupRunLog& runLog, ListingProgress& progress, const RunContext& context);

}  // namespace tavorine
