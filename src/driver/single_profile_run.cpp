#include <variant>

#include "checks/cpu_read.h"
#include "checks/missing_objects_check.h"
#include "checks/system_info_check.h"
#include "config/profile_reader.h"
#include "driver/progress_lines.h"
#include "driver/rfc_run.h"
#include "driver/road.h"
#include "output/messages.h"
#include "platform/delete_file.h"
#include "platform/local_time.h"
#include "rfc/logon.h"
#include "rfc/sap_rfc_ini.h"
#include "rfc/trace_file_scan.h"

namespace tavorine {

namespace {

// A failed check's error text, followed by what the trace file tells.
RunFailure FailedCheck(const CallState& state) { return {state.errorText + TraceFileScan()}; }

// The checks, in their order, on an open connection.
std::optional<RunFailure> RunChecks(RfcSession& session, RFC_HANDLE handle, const ProfileData& profile,
                                    ResultDocument& document) {
  CallState state;
  CpuRead(session, handle, state);
  if (state.callStatus != CallStatus::OK) return FailedCheck(state);

  state.callStatus = CallStatus::ERR;
  SystemInfo info;
  SystemInfoCheck(session, handle, state, info);
  if (state.callStatus != CallStatus::OK) return FailedCheck(state);
  if (!IsDb4(info.DatabaseSystem)) return messages::DatabaseMismatch();

  state.callStatus = CallStatus::ERR;
  MissingObjectsCheck(session, handle, state, &document, profile.Destination);
  if (state.callStatus != CallStatus::OK) return FailedCheck(state);
  return std::nullopt;
}

}  // namespace

RunEnd RunSingleProfile(const RunOptions& options, InputFile& profileFile, OutputSink& output) {
  const ProfileReading reading =
      ReadProfile(profileFile, kSingleProfilePieceLength, PasswordFaultHandling::StopReading);
  if (reading.fault) return {ProfileFaultMessage(*reading.fault, options.profileName)};
  const ProfileData& profile = reading.data;

  auto started = RfcRun::Start(options, output);
  if (const auto* failure = std::get_if<RunFailure>(&started)) return {*failure};
  RfcRun& rfc = *std::get<std::unique_ptr<RfcRun>>(started);
  rfc.Log().Write(0, "program started", options.programPath);
  rfc.Report().InstallEnvironment();
  rfc.Log().Write(0, "RfcEnvironment called", "");

  ResultDocument document(options.outputMode);
  document.FollowOptions(options.optionsText, options.optionsAsGiven);
  if (options.consoleTrace) output.Write(ProgressLines(options, profile, LocalTimeOfDay()));

  LogonRecords records;
  const LogonContext logon{rfc.Library(), rfc.Log(), output, options.optionsText, options.optionsAsGiven};
  const LogonResult loggedOn = Logon(logon, profile, ReadDestinationIni(profile.Destination), records);
  if (loggedOn.failure) return {loggedOn.failure};
  if (loggedOn.handle == 0) return {messages::LogonFailed(profile.Destination)};
  {
    const RfcConnection connection(rfc.Library(), loggedOn.handle);
    if (auto failure = RunChecks(rfc.Session(), connection.Handle(), profile, document)) return {std::move(failure)};
  }

  output.Write(document.Text());
  // The trace is the one account of what happened: it stays unless the
  // monitor has the document.
  if (!output.Delivered()) return {};
  DeleteRegularFile(kTraceFileName);
  if (options.consoleTrace) output.Write("\n* " + LocalTimeOfDay() + " SAP " + kProgramName + " now processed...\n");
  return {};
}

}  // namespace tavorine
