#pragma once
#include "platform/process/exit_status.h"

namespace tavorine {

// How the process ends where a run cannot return to main: in the RFC
// library's error report, which the library calls back into, and at a run's
// deadline, while the run may be stuck inside the library. main provides
// it; a diagnosis shows its account first. Neither call returns.
class ProcessEnd {
 public:
  virtual ~ProcessEnd() = default;
  // After the library's error report: the process's clean-up runs, the
  // library's own included.
  virtual void AfterErrorReport(ExitStatus status) const = 0;
  // Nothing more runs: a thread stuck inside the library could hold up the
  // clean-up at exit forever.
  virtual void AtOnce(ExitStatus status) const = 0;
};

// On Windows ends this process at once, without the clean-up of every
// loaded library that ExitProcess runs (the stuck one's too); returns only
// where the system has no such call, or it failed.
void TerminateThisProcess(ExitStatus status);

}  // namespace tavorine
