#pragma once
#include <memory>
#include <variant>

#include "driver/run/narration.h"
#include "driver/run/road.h"
#include "driver/run/run_options.h"
#include "output/run_failure.h"
#include "output/run_log.h"
#include "platform/process/output_sink.h"
#include "rfc/error_report.h"
#include "rfc/rfc_library.h"
#include "rfc/rfc_session.h"

namespace tavorine {

// What both roads set up before their first logon, in one piece: the loaded
// library, the run log following the run's options, the error report bound
// to the library and the run's output, and the session the checks use. Owns
// them all; the report is unbound before the library object goes.
class RfcRun {
 public:
  // Fails with the library's numbered message (1041, 1042, 1043). Tells the
  // narration each place the library was looked for and what was there.
  // The run log's waits end at the run's deadline; logTo, when given, takes
  // the run log's lines instead of Tavorine.log.
  static std::variant<std::unique_ptr<RfcRun>, RunFailure> Start(const RunOptions& options,
                                                                 const RunContext& context,
                                                                 RunLog::Destination logTo = {});

  const RfcLibrary& Library() const { return *library_; }
  const RfcErrorReport& Report() const { return report_; }
  RunLog& Log() { return runLog_; }
  RfcSession& Session() { return session_; }

  RfcRun(std::unique_ptr<RfcLibrary> library, const RunOptions& options, const RunContext& context, RunLog runLog);
  RfcRun(const RfcRun&) = delete;
  RfcRun& operator=(const RfcRun&) = delete;

 private:
  std::unique_ptr<RfcLibrary> library_;
  RunLog runLog_;
  RfcErrorReport report_;
  RfcSession session_;
};

}  // namespace tavorine
