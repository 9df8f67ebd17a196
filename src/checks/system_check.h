#pragma once
#include <functional>
#include <optional>

#include "config/profile_data.h"
#include "output/check_outcome.h"
#include "platform/files/input_file.h"
#include "platform/process/output_sink.h"
#include "platform/time/deadline.h"
#include "rfc/logon.h"
#include "rfc/rfc_session.h"

namespace tavorine {

// What a system's check needs besides the system; all borrowed.
struct SystemCheckContext {
  RfcSession& session;  // the library, its error report, the run log
  OutputSink& output;   // for the "* SapRfc.Ini" line
  const LogonOverrides& overrides;
  Deadline deadline;    // the run's: the logon's wait for "SapRfc.ini" ends there
  bool tellsSapRfcIni;  // prints the "* SapRfc.Ini" line of a logon through SapRfc.ini
  // Told as each step begins, before the check waits on the system, with
  // what the check gave so far: the step a deadline finds the run in, and
  // what a diagnosis tells.
  std::function<void(CheckStep, const SystemOutcome&)> onStep;
};

// One system's check, the same on every road (a single run, a group run's
// system checked in the run's own process, in a worker): the logon, through
// "SapRfc.ini" when destinationIni holds "SapRfc.<destination>" and with
// RfcOpen otherwise, then GET_CPU_ALL, RFC_SYSTEM_INFO, the DB4 test and
// DB02_DB4_GET_INFO, up to the first that fails. The connection is closed
// before it returns. A failure the library reports through its error
// callback ends the process there (RfcErrorReport).
SystemOutcome CheckSystem(const SystemCheckContext& context, const ProfileData& profile,
                          const std::optional<WholeFile>& destinationIni);

// The run goes on only with a DB4 database: the first three characters, exactly.
bool IsDb4(std::string_view databaseSystem);

}  // namespace tavorine
