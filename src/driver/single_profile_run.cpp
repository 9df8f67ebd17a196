#include <variant>

#include "checks/cpu_read.h"
#include "checks/missing_objects_check.h"
#include "checks/system_info_check.h"
#include "config/profile_reader.h"
#include "driver/progress_lines.h"
#include "driver/road.h"
#include "platform/console.h"
#include "platform/local_time.h"
#include "platform/text_file.h"
#include "rfc/error_report.h"
#include "rfc/logon.h"
#include "rfc/trace_file_scan.h"

namespace tavorine {

namespace {

// A failed check's error text, followed by what the trace file tells.
int ReportFailedCheck(CallState& state) {
  state.errorText += TraceFileScan();
  return PrintFailure({state.errorText});
}

// The checks, in their order, on an open connection; the caller closes it.
int RunChecks(RfcSession& session, RFC_HANDLE handle, const ProfileData& profile, ResultDocument& document) {
  CallState state;
  CpuRead(session, handle, state);
  if (state.CallStatus != "OK") return ReportFailedCheck(state);

  state.CallStatus = "ERR";
  SystemInfo info;
  SystemInfoCheck(session, handle, state, info);
  if (state.CallStatus != "OK") return ReportFailedCheck(state);
  if (!IsDb4(info.DatabaseSystem)) return PrintFailure({"Error 1018: DataBase mismatch !"});

  state.CallStatus = "ERR";
  MissingObjectsCheck(session, handle, state, &document, profile.Destination);
  if (state.CallStatus != "OK") return ReportFailedCheck(state);
  return kExitFinished;
}

}  // namespace

int RunSingleProfile(const RunOptions& options, std::string_view profileText) {
  const ProfileReading reading =
      ReadProfile(profileText, kSingleProfilePieceLength, options.profileName, PasswordFaultHandling::StopReading);
  if (reading.fault) return PrintFailure(*reading.fault);
  const ProfileData& profile = reading.data;

  auto loaded = LoadRfcLibrary();
  if (const auto* failure = std::get_if<RunFailure>(&loaded)) return PrintFailure(*failure);
  const RfcLibrary& library = std::get<RfcLibrary>(loaded);

  RunLog runLog;
  runLog.FollowOptions(options.optionsText);
  runLog.Write(0, "program started", options.programPath);
  InstallRfcErrorReport(library);
  runLog.Write(0, "RfcEnvironment called", "");

  ResultDocument document(options.outputMode);
  document.SelectChannels(options.optionsText, options.optionsAsGiven);
  if (options.consoleTrace) Print(ProgressLines(options, profile, LocalTimeOfDay()));

  LogonRecords records;
  const RFC_HANDLE handle = Logon(library, profile, options.optionsText, options.optionsAsGiven, records, runLog);
  if (handle == 0) return PrintFailure({"Error 1011: RFC-Open for " + profile.Destination + " failed !"});

  RfcSession session(library, runLog);
  const int status = RunChecks(session, handle, profile, document);
  library.RfcClose(handle);
  if (status != kExitFinished) return status;

  Print(document.Text());
  DeleteRegularFile(kTraceFileName);
  if (options.consoleTrace) Print("\n* " + LocalTimeOfDay() + " SAP " + kProgramName + " now processed...\n");
  return kExitFinished;
}

}  // namespace tavorine
